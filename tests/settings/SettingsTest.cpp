// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "program/HeadlessPlatform.h"
#include "settings/RegistryAccess.h"
#include "settings/Settings.h"

namespace tiltophon {
namespace {

class FixedProgramPath : public FileSystem {
public:
    std::u16string path;
    std::u16string home;
    std::u16string program_path() override { return path; }
    std::u16string data_home() override { return home; }
    std::vector<DirectoryEntry> list_directory(std::u16string_view) override { return {}; }
};

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        files.path = u"/opt/tiltophon/lib/tiltophon/tiltophon";
        headless.services().files = &files;
        install_platform(headless.services());
    }

    void store_string(std::u16string_view name, std::u16string_view text) {
        headless.registry.write_string(kSettingsRoot, kSettingsKey, name, text);
    }
    void store_number(std::u16string_view name, uint32_t value) {
        headless.registry.write_dword(kSettingsRoot, kSettingsKey, name, value);
    }
    uint32_t stored_number(std::u16string_view name) {
        uint32_t value = 0xFFFFFFFF;
        headless.registry.read_dword(kSettingsRoot, kSettingsKey, name, value);
        return value;
    }

    HeadlessPlatform headless;
    FixedProgramPath files;
    Settings settings;
};

TEST_F(SettingsTest, FirstStartWithoutStoredValuesGivesTheDefaults) {
    EXPECT_EQ(settings.Load(), 1);
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        EXPECT_TRUE(settings.SlotFolder(slot).empty()) << slot;
        EXPECT_TRUE(settings.SlotName(slot).empty()) << slot;
    }
    EXPECT_EQ(settings.SensitivityX, 5);
    EXPECT_EQ(settings.SensitivityY, 5);
    EXPECT_EQ(settings.SensitivityZ, 5);
    EXPECT_TRUE(settings.XButtonClose);
    EXPECT_TRUE(settings.AnimationsOn);
    EXPECT_FALSE(settings.VibrationsOn);
    EXPECT_TRUE(settings.PulseVibrationsOn);
}

TEST_F(SettingsTest, StoredValuesLoadAsTheyAreAndFlagsBecomeZeroOrOne) {
    store_number(u"SensitivityX", 37);
    store_number(u"SensitivityZ", 0);
    store_number(u"XButtonClose", 7);
    store_number(u"AnimationsOn", 0);
    store_number(u"VibrationsOn", 2);
    store_string(u"SoundSlot3Folder", u"Drums");
    store_string(u"SoundSlot3Name", u"Kick.wav");
    settings.Load();
    EXPECT_EQ(settings.SensitivityX, 37);
    EXPECT_EQ(settings.SensitivityZ, 0);
    EXPECT_TRUE(settings.XButtonClose);
    EXPECT_FALSE(settings.AnimationsOn);
    EXPECT_TRUE(settings.VibrationsOn);
    EXPECT_EQ(settings.SoundSlot3Folder.view(), u"Drums");
    EXPECT_EQ(settings.SoundSlot3Name.view(), u"Kick.wav");

    settings.Save();
    EXPECT_EQ(stored_number(u"XButtonClose"), 1u);
    EXPECT_EQ(stored_number(u"VibrationsOn"), 1u);
    EXPECT_EQ(stored_number(u"SensitivityX"), 37u);
}

TEST_F(SettingsTest, AValueOfTheWrongTypeOrTooLongLoadsItsDefault) {
    store_string(u"SensitivityY", u"7");
    store_string(u"PulseVibrationsOn", u"0");
    store_number(u"SoundSlot1Name", 12);
    store_string(u"SoundSlot2Name", std::u16string(260, u'n'));
    store_string(u"SoundSlot3Name", std::u16string(259, u'n'));
    settings.Load();
    EXPECT_EQ(settings.SensitivityY, 5);
    EXPECT_TRUE(settings.PulseVibrationsOn);
    EXPECT_TRUE(settings.SoundSlot1Name.empty());
    EXPECT_TRUE(settings.SoundSlot2Name.empty());
    EXPECT_EQ(settings.SoundSlot3Name.length(), 259u);
}

TEST_F(SettingsTest, FoldersDeriveFromTheProgramsOwnPath) {
    settings.Load();
    EXPECT_EQ(settings.ProgramFolder.view(), u"/opt/tiltophon/lib/tiltophon/");
    EXPECT_EQ(settings.ProgramFile.view(), u"/opt/tiltophon/lib/tiltophon/tiltophon");
    EXPECT_EQ(settings.SkinFolder.view(), u"/opt/tiltophon/lib/tiltophon/Skin/");
    EXPECT_EQ(settings.SkinFile.view(), u"/opt/tiltophon/lib/tiltophon/Skin/Skin.txt");
    EXPECT_EQ(settings.SoundsFolder.view(), u"/opt/tiltophon/lib/tiltophon/Sounds/");

    // A path without any folder stays whole.
    files.path = u"tiltophon";
    PathText folder(u"old");
    GetProgramFolder(folder);
    EXPECT_EQ(folder.view(), u"tiltophon");

    // Without a file system the folder is empty rather than stale.
    headless.services().files = nullptr;
    install_platform(headless.services());
    GetProgramFolder(folder);
    EXPECT_TRUE(folder.empty());
}

TEST_F(SettingsTest, SlotPathsAreComposedAndCutToTheBuffer) {
    store_string(u"SoundSlot1Folder", u"Drums");
    store_string(u"SoundSlot1Name", u"Kick.wav");
    // 200 + 30 + the separator + 60 units overflow the 259 a path can hold.
    files.path = u"/" + std::u16string(199, u'p') + u"/tiltophon";
    std::u16string long_folder = std::u16string(29, u'f') + u"\U0001F941";
    store_string(u"SoundSlot5Folder", long_folder);
    store_string(u"SoundSlot5Name", std::u16string(60, u'n'));
    settings.Load();

    std::u16string sounds(settings.SoundsFolder.view());
    EXPECT_EQ(settings.SoundSlot1Path.view(), sounds + u"Drums/Kick.wav");
    EXPECT_EQ(settings.SoundSlot2Path.view(), sounds + u"/");
    EXPECT_EQ(settings.SoundSlot5Path.length(), 259u);
    EXPECT_EQ(settings.SoundSlot5Path.view().substr(0, sounds.size() + long_folder.size()),
              sounds + long_folder);
}

TEST_F(SettingsTest, OnlyAStoredOneTurnsSoundsOverlapOnAndAnythingElseIsSavedAsZero) {
    // The stored value (none at first, then a number, or the text "1") and whether it
    // reads as on.
    for (auto [stored, on] : {std::pair{-1, false}, {0, false}, {1, true}, {7, false},
                              {-2, false}}) {
        SCOPED_TRACE(stored);
        if (stored == -2) store_string(u"SoundsOverlap", u"1");
        if (stored >= 0) store_number(u"SoundsOverlap", uint32_t(stored));
        settings.Load();
        EXPECT_EQ(settings.SoundsOverlap, on);
        settings.Save();
        EXPECT_EQ(stored_number(u"SoundsOverlap"), on ? 1u : 0u);
    }
}

TEST_F(SettingsTest, SaveWritesAllValuesInOneUpdate) {
    settings.Load();
    settings.SoundSlot2Folder = u"Bells";
    settings.SoundSlot2Name = u"Ding.wav";
    settings.SensitivityZ = 9;
    settings.VibrationsOn = true;
    EXPECT_EQ(settings.Save(), 1);
    EXPECT_EQ(headless.registry.stores(), 1);

    const std::string text = headless.registry.text();
    for (const char* name :
         {"SoundSlot1Folder", "SoundSlot2Folder", "SoundSlot3Folder", "SoundSlot4Folder",
          "SoundSlot5Folder", "SoundSlot1Name", "SoundSlot2Name", "SoundSlot3Name",
          "SoundSlot4Name", "SoundSlot5Name", "SensitivityX", "SensitivityY", "SensitivityZ",
          "XButtonClose", "AnimationsOn", "VibrationsOn", "PulseVibrationsOn", "SoundsOverlap"}) {
        EXPECT_NE(text.find("\"" + std::string(name) + "\"="), std::string::npos) << name;
    }

    Settings again;
    again.Load();
    EXPECT_EQ(again.SoundSlot2Folder.view(), u"Bells");
    EXPECT_EQ(again.SoundSlot2Name.view(), u"Ding.wav");
    EXPECT_EQ(again.SensitivityZ, 9);
    EXPECT_TRUE(again.VibrationsOn);
}

TEST_F(SettingsTest, RegistryHelpersFallBackToTheirDefaults) {
    PathText buffer(u"untouched");
    EXPECT_NE(ReadRegistryString(kSettingsRoot, kSettingsKey, u"Missing", &buffer, nullptr), 0);
    EXPECT_EQ(buffer.view(), u"untouched");
    EXPECT_NE(ReadRegistryString(kSettingsRoot, kSettingsKey, u"Missing", &buffer, u"fallback"), 0);
    EXPECT_EQ(buffer.view(), u"fallback");
    EXPECT_NE(ReadRegistryString(kSettingsRoot, kSettingsKey, u"Missing", nullptr, u"x"), 0);

    headless.services().registry = nullptr;
    install_platform(headless.services());
    uint32_t number = 0;
    EXPECT_NE(ReadRegistryDword(kSettingsRoot, kSettingsKey, u"SensitivityX", &number, 5), 0);
    EXPECT_EQ(number, 5u);
    EXPECT_NE(WriteRegistryDword(kSettingsRoot, kSettingsKey, u"SensitivityX", 1), 0);
    Settings without_registry;
    EXPECT_EQ(without_registry.Load(), 1);
    EXPECT_EQ(without_registry.Save(), 1);
}

TEST_F(SettingsTest, TheUsersSoundFolderLiesInTheDataHomeWhenThereIsOne) {
    settings.Load();
    EXPECT_TRUE(settings.UserSoundsFolder.empty());

    files.home = u"/home/ada/.local/share";
    settings.Load();
    EXPECT_EQ(settings.UserSoundsFolder.view(), u"/home/ada/.local/share/tiltophon/Sounds/");
    EXPECT_EQ(settings.SoundsFolder.view(), u"/opt/tiltophon/lib/tiltophon/Sounds/");

    // A folder whose path would be cut is no folder at all.
    files.home = u"/" + std::u16string(250, u'h');
    settings.Load();
    EXPECT_TRUE(settings.UserSoundsFolder.empty());
}

}  // namespace
}  // namespace tiltophon
