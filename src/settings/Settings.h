// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Registry.h"
#include "platform/Text.h"

namespace tiltophon {

// Where the settings live in the registry.
constexpr RegistryRoot kSettingsRoot = RegistryRoot::kLocalMachine;
constexpr std::u16string_view kSettingsKey = u"Software\\Marrowgate\\Tiltophon\\Settings";

// The user's settings and the folders derived from the program's location. Loaded
// once at start-up and saved once at close. Every field is assigned by Load.
class Settings {
public:
    static constexpr int kSlotCount = 5;

    PathText ProgramFolder;
    PathText ProgramFile;
    PathText SkinFolder;
    PathText SkinFile;
    PathText SoundsFolder;
    // The user's own library, laid out like SoundsFolder and scanned after it: the
    // data home's "tiltophon/Sounds/". Empty when the system gives no data home or
    // the path does not fit.
    PathText UserSoundsFolder;
    PathText SoundSlot1Path;
    PathText SoundSlot2Path;
    PathText SoundSlot3Path;
    PathText SoundSlot4Path;
    PathText SoundSlot5Path;
    PathText SoundSlot1Folder;
    PathText SoundSlot2Folder;
    PathText SoundSlot3Folder;
    PathText SoundSlot4Folder;
    PathText SoundSlot5Folder;
    PathText SoundSlot1Name;
    PathText SoundSlot2Name;
    PathText SoundSlot3Name;
    PathText SoundSlot4Name;
    PathText SoundSlot5Name;
    int32_t SensitivityX = 0;
    int32_t SensitivityY = 0;
    int32_t SensitivityZ = 0;
    bool XButtonClose = false;
    bool AnimationsOn = false;
    bool VibrationsOn = false;
    bool PulseVibrationsOn = false;
    // Sounds play along with those still playing instead of ending them.
    bool SoundsOverlap = false;

    // The slot fields by slot number, 1 to 5.
    PathText& SlotPath(int slot);
    PathText& SlotFolder(int slot);
    PathText& SlotName(int slot);
    const PathText& SlotPath(int slot) const;
    const PathText& SlotFolder(int slot) const;
    const PathText& SlotName(int slot) const;

    // Derives the folders and reads the persisted values; a value that cannot be
    // read takes its default. Values are not range-checked. Returns 1.
    int Load();
    // Writes the eighteen persisted values as one update, so the stored settings
    // are either all old or all new. A failed write is ignored. Returns 1.
    int Save();
};

// The folder of the program's file, up to and including its last '/'; the whole
// path when it has none.
void GetProgramFolder(PathText& folder);

// The data home's "tiltophon/Sounds/", or empty (see Settings::UserSoundsFolder).
void GetUserSoundsFolder(PathText& folder);

}  // namespace tiltophon
