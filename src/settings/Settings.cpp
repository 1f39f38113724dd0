// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/Settings.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "platform/Platform.h"
#include "settings/RegistryAccess.h"

namespace tiltophon {

namespace {

constexpr std::array<std::u16string_view, Settings::kSlotCount> kFolderValues = {
    u"SoundSlot1Folder", u"SoundSlot2Folder", u"SoundSlot3Folder", u"SoundSlot4Folder",
    u"SoundSlot5Folder"};
constexpr std::array<std::u16string_view, Settings::kSlotCount> kNameValues = {
    u"SoundSlot1Name", u"SoundSlot2Name", u"SoundSlot3Name", u"SoundSlot4Name", u"SoundSlot5Name"};

constexpr uint32_t kDefaultSensitivity = 5;

// The program file's name in the program folder.
constexpr std::u16string_view kProgramFileName = u"tiltophon";

using Field = PathText Settings::*;
constexpr std::array<Field, Settings::kSlotCount> kPathFields = {
    &Settings::SoundSlot1Path, &Settings::SoundSlot2Path, &Settings::SoundSlot3Path,
    &Settings::SoundSlot4Path, &Settings::SoundSlot5Path};
constexpr std::array<Field, Settings::kSlotCount> kFolderFields = {
    &Settings::SoundSlot1Folder, &Settings::SoundSlot2Folder, &Settings::SoundSlot3Folder,
    &Settings::SoundSlot4Folder, &Settings::SoundSlot5Folder};
constexpr std::array<Field, Settings::kSlotCount> kNameFields = {
    &Settings::SoundSlot1Name, &Settings::SoundSlot2Name, &Settings::SoundSlot3Name,
    &Settings::SoundSlot4Name, &Settings::SoundSlot5Name};

std::size_t slot_index(int slot) {
    assert(slot >= 1 && slot <= Settings::kSlotCount);
    return static_cast<std::size_t>(std::clamp(slot, 1, Settings::kSlotCount) - 1);
}

int32_t read_string(std::u16string_view name, PathText& field) {
    return ReadRegistryString(kSettingsRoot, kSettingsKey, name, &field, u"");
}

int32_t read_dword(std::u16string_view name, uint32_t default_value, uint32_t& value) {
    return ReadRegistryDword(kSettingsRoot, kSettingsKey, name, &value, default_value);
}

bool read_flag(std::u16string_view name, uint32_t default_value) {
    uint32_t value = 0;
    read_dword(name, default_value, value);
    return value != 0;
}

// This program writes only 0 or 1: any other value, or one of another type, reads as
// off, so the next save writes 0.
bool read_switch(std::u16string_view name) {
    uint32_t value = 0;
    read_dword(name, 0, value);
    return value == 1;
}

int32_t read_sensitivity(std::u16string_view name) {
    uint32_t value = 0;
    read_dword(name, kDefaultSensitivity, value);
    return static_cast<int32_t>(value);
}

void write_dword(std::u16string_view name, uint32_t value) {
    WriteRegistryDword(kSettingsRoot, kSettingsKey, name, value);
}

}  // namespace

PathText& Settings::SlotPath(int slot) {
    return this->*kPathFields[slot_index(slot)];
}
PathText& Settings::SlotFolder(int slot) {
    return this->*kFolderFields[slot_index(slot)];
}
PathText& Settings::SlotName(int slot) {
    return this->*kNameFields[slot_index(slot)];
}
const PathText& Settings::SlotPath(int slot) const {
    return this->*kPathFields[slot_index(slot)];
}
const PathText& Settings::SlotFolder(int slot) const {
    return this->*kFolderFields[slot_index(slot)];
}
const PathText& Settings::SlotName(int slot) const {
    return this->*kNameFields[slot_index(slot)];
}

void GetUserSoundsFolder(PathText& folder) {
    folder.clear();
    FileSystem* files = platform().files;
    std::u16string home = files ? files->data_home() : std::u16string();
    if (home.empty()) return;
    std::u16string path = home + u"/tiltophon/Sounds/";
    // A cut path would name another folder.
    if (path.size() <= PathText::kCapacity) folder.assign(path);
}

void GetProgramFolder(PathText& folder) {
    PathText path;
    if (FileSystem* files = platform().files) path.assign(files->program_path());
    std::u16string_view view = path.view();
    std::size_t slash = view.rfind(kPathSeparator);
    if (slash != std::u16string_view::npos) path.truncate(slash + 1);
    folder.assign(path.view());
}

int Settings::Load() {
    GetProgramFolder(ProgramFolder);
    ProgramFile.assign(ProgramFolder).append(kProgramFileName);
    SkinFolder.assign(ProgramFolder).append(u"Skin/");
    SkinFile.assign(SkinFolder).append(u"Skin.txt");
    SoundsFolder.assign(ProgramFolder).append(u"Sounds/");
    GetUserSoundsFolder(UserSoundsFolder);

    for (int slot = 1; slot <= kSlotCount; ++slot)
        read_string(kFolderValues[slot - 1], SlotFolder(slot));
    for (int slot = 1; slot <= kSlotCount; ++slot)
        read_string(kNameValues[slot - 1], SlotName(slot));
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        SlotPath(slot)
            .assign(SoundsFolder)
            .append(SlotFolder(slot))
            .append(u"/")
            .append(SlotName(slot));
    }

    SensitivityX = read_sensitivity(u"SensitivityX");
    SensitivityY = read_sensitivity(u"SensitivityY");
    SensitivityZ = read_sensitivity(u"SensitivityZ");
    XButtonClose = read_flag(u"XButtonClose", 1);
    AnimationsOn = read_flag(u"AnimationsOn", 1);
    VibrationsOn = read_flag(u"VibrationsOn", 0);
    PulseVibrationsOn = read_flag(u"PulseVibrationsOn", 1);
    SoundsOverlap = read_switch(u"SoundsOverlap");
    return 1;
}

int Settings::Save() {
    Registry* registry = platform().registry;
    if (registry) registry->begin_update();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        WriteRegistryString(kSettingsRoot, kSettingsKey, kFolderValues[slot - 1], SlotFolder(slot));
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        WriteRegistryString(kSettingsRoot, kSettingsKey, kNameValues[slot - 1], SlotName(slot));
    }
    write_dword(u"SensitivityX", static_cast<uint32_t>(SensitivityX));
    write_dword(u"SensitivityY", static_cast<uint32_t>(SensitivityY));
    write_dword(u"SensitivityZ", static_cast<uint32_t>(SensitivityZ));
    write_dword(u"XButtonClose", XButtonClose ? 1 : 0);
    write_dword(u"AnimationsOn", AnimationsOn ? 1 : 0);
    write_dword(u"VibrationsOn", VibrationsOn ? 1 : 0);
    write_dword(u"PulseVibrationsOn", PulseVibrationsOn ? 1 : 0);
    write_dword(u"SoundsOverlap", SoundsOverlap ? 1 : 0);
    if (registry) registry->end_update();
    return 1;
}

}  // namespace tiltophon
