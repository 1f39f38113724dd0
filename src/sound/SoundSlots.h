// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sound/SoundEntry.h"

namespace tiltophon {

constexpr int32_t kSlotCount = 5;

// The five sound slots: which bank entry each plays. The entries belong to the bank
// and live until the process ends, so a reference handed to a playback thread stays
// valid when its slot is given another sound.
class SoundSlots {
public:
    // Slots 1 to 5 at elements 0 to 4; null when the slot is empty.
    std::array<const SoundEntry*, kSlotCount> entries{};
    // The slots whose saved sound was not in the bank at start-up and that have not
    // been given a sound since. They play nothing and show empty, but their saved
    // folder and name are kept, so the sound is back once its set is there again.
    std::array<bool, kSlotCount> keeps_saved_sound{};

    // The entry of slot n, or null for an empty slot or an invalid number.
    const SoundEntry* Entry(int32_t n) const;
    // Whether slot n keeps a saved sound that the bank could not find.
    bool KeepsSavedSound(int32_t n) const;
};

// True exactly for slot numbers 1 to 5.
bool IsValidSlot(int32_t n);

// Gives slot n of `app().sound_slots` the entry that `app().sound_bank` finds by file
// name, or nothing when the bank has no such file; the slot's saved sound is then
// forgotten. 1 on success; 0 when either record
// is missing or n is not a slot number, and then nothing changes.
int AssignSlot(int32_t n, std::u16string_view file_name);
// The same, preferring the entry of the named folder (`FindByFolderAndName`).
int AssignSlot(int32_t n, std::u16string_view folder_name, std::u16string_view file_name);

// Slot of a Sounds-page row identifier: 'a' (97) to 'e' (101) give 1 to 5, else 0.
int32_t SlotFromRowId(uint32_t id);

// Start-up: fills slots 1 to 5, in that order, from the saved folder and file names
// (element 0 is slot 1). An empty folder name finds the sound by its file name alone.
// A saved name that the bank does not hold leaves its slot empty, keeping the name.
void AssignSavedSlots(const std::array<std::u16string_view, kSlotCount>& folder_names,
                      const std::array<std::u16string_view, kSlotCount>& file_names);

}  // namespace tiltophon
