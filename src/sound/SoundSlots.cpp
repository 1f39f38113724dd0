// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SoundSlots.h"

#include "app/AppState.h"
#include "sound/ReadySounds.h"
#include "sound/SoundBank.h"

namespace tiltophon {

const SoundEntry* SoundSlots::Entry(int32_t n) const {
    return IsValidSlot(n) ? entries[n - 1] : nullptr;
}

bool SoundSlots::KeepsSavedSound(int32_t n) const {
    return IsValidSlot(n) && keeps_saved_sound[n - 1];
}

bool IsValidSlot(int32_t n) {
    return n >= 1 && n <= kSlotCount;
}

namespace {

// Gives slot n the entry `find` picks; the player then prepares the slots' new sounds,
// unless the caller fills several slots and tells it once.
template <typename Find>
int assign_found(int32_t n, Find find, bool prepare = true) {
    SoundSlots* slots = app().sound_slots;
    SoundBank* bank = app().sound_bank;
    if (!slots || !bank || !IsValidSlot(n)) return 0;
    slots->entries[n - 1] = find(*bank);
    slots->keeps_saved_sound[n - 1] = false;
    if (prepare) PrepareSlotSounds();
    return 1;
}

}  // namespace

int AssignSlot(int32_t n, std::u16string_view file_name) {
    return assign_found(n, [&](const SoundBank& bank) { return bank.FindByName(file_name); });
}

int AssignSlot(int32_t n, std::u16string_view folder_name, std::u16string_view file_name) {
    return assign_found(
        n, [&](const SoundBank& bank) { return bank.FindByFolderAndName(folder_name, file_name); });
}

int32_t SlotFromRowId(uint32_t id) {
    if (id >= 'a' && id <= 'e') return static_cast<int32_t>(id - 'a') + 1;
    return 0;
}

void AssignSavedSlots(const std::array<std::u16string_view, kSlotCount>& folder_names,
                      const std::array<std::u16string_view, kSlotCount>& file_names) {
    for (int32_t n = 1; n <= kSlotCount; ++n) {
        auto saved = [&](const SoundBank& bank) {
            return bank.FindByFolderAndName(folder_names[n - 1], file_names[n - 1]);
        };
        if (assign_found(n, saved, false) == 0) continue;
        SoundSlots& slots = *app().sound_slots;
        slots.keeps_saved_sound[n - 1] = !slots.entries[n - 1] && !file_names[n - 1].empty();
    }
    PrepareSlotSounds();
}

}  // namespace tiltophon
