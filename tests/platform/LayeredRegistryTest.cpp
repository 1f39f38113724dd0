// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "motion/TempFolder.h"
#include "platform/LayeredRegistry.h"
#include "platform/posix/FileRegistry.h"
#include "support/ReadFile.h"

namespace tiltophon {
namespace {

constexpr RegistryRoot kRoot = RegistryRoot::kLocalMachine;
constexpr std::u16string_view kKey = u"Software\\Marrowgate\\Tiltophon\\Settings";
const std::string kHeader =
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n";
const std::string kDefaults = kHeader +
                              "\"SoundSlot1Name\"=\"Kick.wav\"\n"
                              "\"SoundSlot2Name\"=\"Chime.wav\"\n"
                              "\"SensitivityX\"=dword:00000003\n";

// The user's settings file over a defaults file, both on disk.
class LayeredRegistryTest : public ::testing::Test {
protected:
    LayeredRegistryTest()
        : user(temp.file("config/registry.reg")),
          defaults(temp.file("program/Defaults.reg")),
          registry(user, defaults) {}

    std::u16string text(std::u16string_view name, int32_t* result = nullptr) {
        std::array<char16_t, 260> buffer{};
        int32_t r = registry.read_string(kRoot, kKey, name, buffer.data(), buffer.size());
        if (result) *result = r;
        return r == registry_result::kSuccess ? std::u16string(buffer.data()) : u"(failed)";
    }
    int64_t number(std::u16string_view name) {
        uint32_t value = 0;
        return registry.read_dword(kRoot, kKey, name, value) == registry_result::kSuccess
                   ? int64_t{value}
                   : -1;
    }

    TempFolder temp;
    FileRegistry user;
    FileRegistry defaults;
    LayeredRegistry registry;
};

TEST_F(LayeredRegistryTest, TheUsersValuesWinAndTheDefaultsFillWhatTheyLack) {
    temp.write("program/Defaults.reg", kDefaults);
    temp.write("config/registry.reg", kHeader + "\"SoundSlot1Name\"=\"Snare.wav\"\n");

    EXPECT_EQ(text(u"SoundSlot1Name"), u"Snare.wav");
    EXPECT_EQ(text(u"SoundSlot2Name"), u"Chime.wav");
    EXPECT_EQ(number(u"SensitivityX"), 3);
    int32_t result = 0;
    EXPECT_EQ(text(u"SoundSlot3Name", &result), u"(failed)");
    EXPECT_EQ(result, registry_result::kFileNotFound);
}

TEST_F(LayeredRegistryTest, AValueTheUserHasButCannotBeReadIsNotReplacedByTheDefault) {
    temp.write("program/Defaults.reg", kDefaults);
    temp.write("config/registry.reg", kHeader + "\"SensitivityX\"=\"seven\"\n"
                                                "\"SoundSlot2Name\"=\"" +
                                          std::string(300, 'x') + ".wav\"\n");
    // The caller's own default applies, as it would without defaults.
    EXPECT_EQ(number(u"SensitivityX"), -1);
    int32_t result = 0;
    EXPECT_EQ(text(u"SoundSlot2Name", &result), u"(failed)");
    EXPECT_EQ(result, registry_result::kMoreData);
}

TEST_F(LayeredRegistryTest, WithoutADefaultsFileEveryMissingValueFails) {
    temp.write("config/registry.reg", kHeader + "\"SensitivityY\"=dword:00000002\n");
    EXPECT_EQ(number(u"SensitivityY"), 2);
    EXPECT_EQ(number(u"SensitivityX"), -1);
    EXPECT_EQ(text(u"SoundSlot1Name"), u"(failed)");
}

TEST_F(LayeredRegistryTest, WritesGoToTheUsersFileAndTheDefaultsStayAsTheyAre) {
    temp.write("program/Defaults.reg", kDefaults);
    registry.begin_update();
    registry.write_string(kRoot, kKey, u"SoundSlot2Name", u"Ding.wav");
    registry.write_dword(kRoot, kKey, u"SensitivityX", 9);
    EXPECT_EQ(registry.end_update(), registry_result::kSuccess);

    EXPECT_EQ(text(u"SoundSlot2Name"), u"Ding.wav");
    EXPECT_EQ(number(u"SensitivityX"), 9);
    EXPECT_EQ(text(u"SoundSlot1Name"), u"Kick.wav");
    EXPECT_EQ(read_file(temp.file("program/Defaults.reg")), kDefaults);
    EXPECT_NE(read_file(temp.file("config/registry.reg")).find("\"SensitivityX\"=dword:00000009"),
              std::string::npos);
}

}  // namespace
}  // namespace tiltophon
