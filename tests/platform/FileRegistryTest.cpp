// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "motion/TempFolder.h"
#include "platform/Text.h"
#include "platform/posix/FileRegistry.h"
#include "support/ReadFile.h"
#include "support/ScopedEnv.h"

namespace tiltophon {
namespace {

constexpr RegistryRoot kRoot = RegistryRoot::kLocalMachine;
constexpr std::u16string_view kKey = u"Software\\Marrowgate\\Tiltophon\\Settings";
const std::string kKeyLine = "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n";

class FileRegistryTest : public ::testing::Test {
protected:
    static constexpr const char* kFile = "tiltophon/registry.reg";
    std::string path() const { return folder.file(kFile); }
    void store(const std::string& bytes) const { folder.write(kFile, bytes); }

    // The string as read, or the failure code in `result`.
    std::optional<std::u16string> text(std::u16string_view name, int32_t* result = nullptr,
                                       std::size_t capacity = 260) {
        std::u16string buffer(capacity, u'#');
        int32_t r = registry.read_string(kRoot, kKey, name, buffer.data(), capacity);
        if (result) *result = r;
        if (r != registry_result::kSuccess) {
            EXPECT_EQ(buffer, std::u16string(capacity, u'#')) << "a failed read changed the buffer";
            return std::nullopt;
        }
        return std::u16string(buffer.c_str());
    }
    std::optional<uint32_t> number(std::u16string_view name, int32_t* result = nullptr) {
        uint32_t value = 0xDEADBEEF;
        int32_t r = registry.read_dword(kRoot, kKey, name, value);
        if (result) *result = r;
        if (r != registry_result::kSuccess) {
            EXPECT_EQ(value, 0xDEADBEEFu) << "a failed read changed the value";
            return std::nullopt;
        }
        return value;
    }

    TempFolder folder;
    FileRegistry registry{path()};
};

TEST_F(FileRegistryTest, MissingEmptyAndGarbageFilesReadAsEmptyAndCanBeWrittenAgain) {
    static constexpr char kGarbage[] =
        "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe[\x01\x02]\"a\"=\x00\x03";
    const std::string garbage(kGarbage, sizeof kGarbage - 1);
    for (const std::optional<std::string>& content :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("REGEDIT4\n"), std::optional<std::string>(garbage),
          std::optional<std::string>(std::string(5000, '\0'))}) {
        std::filesystem::remove(path());
        if (content) store(*content);
        int32_t result = 0;
        EXPECT_EQ(text(u"SoundSlot1Name", &result), std::nullopt);
        EXPECT_EQ(result, registry_result::kFileNotFound);
        EXPECT_EQ(number(u"SensitivityX", &result), std::nullopt);
        EXPECT_EQ(result, registry_result::kFileNotFound);

        EXPECT_EQ(registry.write_dword(kRoot, kKey, u"SensitivityX", 7), registry_result::kSuccess);
        EXPECT_EQ(number(u"SensitivityX"), 7u);
        std::string saved = read_file(path());
        EXPECT_EQ(saved.rfind("REGEDIT4\n", 0), 0u) << saved;
        EXPECT_EQ(saved.find('\0'), std::string::npos) << "binary junk was written back";
    }
}

TEST_F(FileRegistryTest, AFileThatCannotBeReadFailsEveryReadAndIsNeverOverwritten) {
    // A folder where the file belongs cannot be read, even by root.
    std::filesystem::create_directories(path());
    EXPECT_EQ(number(u"SensitivityX"), std::nullopt);
    EXPECT_EQ(registry.write_dword(kRoot, kKey, u"SensitivityX", 1), registry_result::kWriteFault);
    EXPECT_TRUE(std::filesystem::is_directory(path()));

    // A file too large to be settings is left alone as well.
    std::filesystem::remove(path());
    store("REGEDIT4\n");
    std::filesystem::resize_file(path(), FileRegistry::kMaxFileSize + 1);
    EXPECT_EQ(number(u"SensitivityX"), std::nullopt);
    registry.begin_update();
    EXPECT_EQ(registry.write_dword(kRoot, kKey, u"SensitivityX", 1), registry_result::kWriteFault);
    EXPECT_EQ(registry.end_update(), registry_result::kWriteFault);
    EXPECT_EQ(std::filesystem::file_size(path()), FileRegistry::kMaxFileSize + 1);
}

TEST_F(FileRegistryTest, AWriteThatCannotReachTheDiskIsReportedAsAFailure) {
    folder.write("tiltophon", "a file where the folder should be");
    EXPECT_EQ(registry.write_string(kRoot, kKey, u"SoundSlot1Name", u"Kick.wav"),
              registry_result::kWriteFault);
    registry.begin_update();
    registry.write_dword(kRoot, kKey, u"SensitivityX", 1);
    EXPECT_EQ(registry.end_update(), registry_result::kWriteFault);
}

TEST_F(FileRegistryTest, EachValueThatCannotBeParsedFailsAloneAndTypesAreChecked) {
    store("REGEDIT4\n\n" + kKeyLine +
          "\"Text\"=\"plain\"\n"
          "\"Number\"=dword:0000002A\n"
          "\"Short\"=dword:5\n"
          "\"TooWide\"=dword:100000000\n"
          "\"NotHex\"=dword:0000zz01\n"
          "\"Unterminated\"=\"abc\n"
          "\"BadEscape\"=\"a\\qb\"\n"
          "\"Trailing\"=\"a\" junk\n"
          "\"Binary\"=hex:01,02,\\\n"
          "  03,04\n"
          "this line means nothing\n"
          "\"Last\"=\"still read\"\n");
    int32_t result = 0;
    EXPECT_EQ(text(u"Text"), u"plain");
    EXPECT_EQ(number(u"Number"), 42u);
    EXPECT_EQ(number(u"Short"), 5u);
    EXPECT_EQ(text(u"Last"), u"still read");

    for (std::u16string_view bad :
         {u"TooWide", u"NotHex", u"Unterminated", u"BadEscape", u"Trailing", u"Binary"}) {
        EXPECT_EQ(text(bad, &result), std::nullopt);
        EXPECT_NE(result, registry_result::kSuccess);
        EXPECT_EQ(number(bad, &result), std::nullopt);
        EXPECT_NE(result, registry_result::kSuccess);
    }
    EXPECT_EQ(number(u"Text", &result), std::nullopt);
    EXPECT_EQ(result, registry_result::kWrongType);
    EXPECT_EQ(text(u"Number", &result), std::nullopt);
    EXPECT_EQ(result, registry_result::kWrongType);
    EXPECT_EQ(text(u"Absent", &result), std::nullopt);
    EXPECT_EQ(result, registry_result::kFileNotFound);
}

TEST_F(FileRegistryTest, AStringMustFitTheBufferWithItsTerminator) {
    registry.write_string(kRoot, kKey, u"Name", std::u16string(259, u'x'));
    EXPECT_EQ(text(u"Name", nullptr, 260), std::u16string(259, u'x'));
    registry.write_string(kRoot, kKey, u"Name", std::u16string(260, u'x'));
    int32_t result = 0;
    EXPECT_EQ(text(u"Name", &result, 260), std::nullopt);
    EXPECT_EQ(result, registry_result::kMoreData);
}

TEST_F(FileRegistryTest, KeysAndNamesMatchIgnoringCaseWithOrWithoutLeadingBackslash) {
    store(
        "REGEDIT4\r\n\r\n[hkey_local_machine\\system\\CurrentControlSet\\control\\POWER]\r\n"
        "\"battpoweroff\"=dword:000000b4\r\n");
    uint32_t value = 0;
    EXPECT_EQ(registry.read_dword(kRoot, u"\\System\\CurrentControlSet\\Control\\Power",
                                  u"BattPowerOff", value),
              registry_result::kSuccess);
    EXPECT_EQ(value, 180u);
    EXPECT_EQ(registry.read_dword(kRoot, u"System\\CurrentControlSet\\Control\\Power",
                                  u"BATTPOWEROFF", value),
              registry_result::kSuccess);
}

TEST_F(FileRegistryTest, DuplicatesLaterWinsAndOneCopyIsWrittenBack) {
    store("REGEDIT4\n\n" + kKeyLine + "\"SensitivityX\"=dword:00000001\n\"A\"=\"first\"\n\n" +
          kKeyLine + "\"SensitivityX\"=dword:00000002\n\"sensitivityx\"=dword:00000003\n");
    EXPECT_EQ(number(u"SensitivityX"), 3u);
    EXPECT_EQ(text(u"A"), u"first");

    registry.write_dword(kRoot, kKey, u"SensitivityY", 4);
    std::string saved = read_file(path());
    EXPECT_EQ(saved.find(kKeyLine), saved.rfind(kKeyLine)) << saved;
    EXPECT_EQ(saved.find("ensitivityX\"="), saved.rfind("ensitivityX\"=")) << saved;
    EXPECT_EQ(number(u"SensitivityX"), 3u);
}

TEST_F(FileRegistryTest, TextRoundTripsThroughTheFileAsUtf8WithEscapes) {
    const std::u16string tricky =
        u"Dr\u00f6hn \"Bass\" C:\\Sounds\\ \U0001F941 \u266A line\nbreak\tand\x01";
    const std::u16string undecodable = utf16_from_utf8("caf\xe9 \xff");
    registry.write_string(kRoot, kKey, u"Tricky", tricky);
    registry.write_string(kRoot, kKey, u"Undecodable", undecodable);
    registry.write_string(kRoot, kKey, u"", u"default value");

    FileRegistry reopened(path());
    char16_t buffer[260];
    ASSERT_EQ(reopened.read_string(kRoot, kKey, u"Tricky", buffer, 260), registry_result::kSuccess);
    EXPECT_EQ(std::u16string(buffer), tricky);
    ASSERT_EQ(reopened.read_string(kRoot, kKey, u"Undecodable", buffer, 260),
              registry_result::kSuccess);
    EXPECT_EQ(std::u16string(buffer), undecodable);

    std::string saved = read_file(path());
    EXPECT_NE(
        saved.find("\"Tricky\"=\"Dr\xc3\xb6hn \\\"Bass\\\" C:\\\\Sounds\\\\ \xf0\x9f\xa5\x81"),
        std::string::npos)
        << saved;
    EXPECT_NE(saved.find("@=\"default value\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("line\\nbreak\tand\\x01"), std::string::npos) << saved;
}

TEST_F(FileRegistryTest, EverythingTheProgramDoesNotKnowIsKept) {
    const std::string comment = "; written by hand\n";
    const std::string foreign =
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shell\\Rai\\:DEFBROWSER]\n"
        "\"1\"=\"firefox %1\"\n"
        "\"Blob\"=hex:de,ad,\\\n"
        "  be,ef\n"
        "\"Path\"=hex(2):25,00,00,00\n";
    store("REGEDIT4\n\n" + comment + foreign + "\n" + kKeyLine + "\"Unknown\"=dword:00000009\n");
    registry.write_dword(kRoot, kKey, u"SensitivityX", 5);

    std::string saved = read_file(path());
    EXPECT_NE(saved.find(comment), std::string::npos) << saved;
    EXPECT_NE(saved.find(foreign), std::string::npos) << saved;
    EXPECT_NE(
        saved.find(kKeyLine + "\"Unknown\"=dword:00000009\n\"SensitivityX\"=dword:00000005\n"),
        std::string::npos)
        << saved;
}

TEST_F(FileRegistryTest, AValueCutOffInItsContinuationNeverSwallowsTheValuesAfterIt) {
    // The continuation mark is the file's last byte, or the continued line is junk.
    const std::string at_the_end = "\"Blob\"=hex:de,ad,\\";
    const std::string before_junk = at_the_end + "\n  be,\x01" + "ef\n";
    for (const std::string& cut : {at_the_end, before_junk}) {
        store("REGEDIT4\n\n" + kKeyLine + cut);
        registry.write_dword(kRoot, kKey, u"SensitivityX", 5);
        registry.write_string(kRoot, kKey, u"SoundSlot1Name", u"Kick.wav");
        EXPECT_EQ(number(u"SensitivityX"), 5u) << read_file(path());
        EXPECT_EQ(text(u"SoundSlot1Name"), u"Kick.wav") << read_file(path());
        // Saving what was read changes nothing.
        const std::string saved = read_file(path());
        registry.write_dword(kRoot, kKey, u"SensitivityX", 5);
        EXPECT_EQ(read_file(path()), saved);
    }
}

TEST_F(FileRegistryTest, AnUpdateReachesTheFileOnlyAtItsEndAndLeavesNoTemporaryFiles) {
    store("REGEDIT4\n\n" + kKeyLine + "\"SensitivityX\"=dword:00000001\n");
    const std::string before = read_file(path());

    registry.begin_update();
    registry.write_dword(kRoot, kKey, u"SensitivityX", 2);
    registry.begin_update();  // nested updates join the outer one
    registry.write_string(kRoot, kKey, u"SoundSlot1Name", u"Kick.wav");
    EXPECT_EQ(registry.end_update(), registry_result::kSuccess);
    EXPECT_EQ(read_file(path()), before);
    EXPECT_EQ(number(u"SensitivityX"), 2u) << "reads see the update's own writes";

    EXPECT_EQ(registry.end_update(), registry_result::kSuccess);
    FileRegistry reopened(path());
    uint32_t value = 0;
    reopened.read_dword(kRoot, kKey, u"SensitivityX", value);
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(text(u"SoundSlot1Name"), u"Kick.wav");

    int entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(path()).parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(FileRegistryTest, SavingThroughALinkUpdatesItsTarget) {
    std::string target = folder.write("dotfiles/registry.reg", "REGEDIT4\n");
    std::filesystem::create_directories(std::filesystem::path(path()).parent_path());
    std::filesystem::create_symlink(target, path());

    registry.write_dword(kRoot, kKey, u"SensitivityX", 6);
    EXPECT_TRUE(std::filesystem::is_symlink(path()));
    EXPECT_NE(read_file(target).find("\"SensitivityX\"=dword:00000006"), std::string::npos);
}

TEST(FileRegistryPathTest, TheFileLivesInTheUsersConfigFolder) {
    ScopedEnv home("HOME", "/home/ada");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/srv/config");
        EXPECT_EQ(FileRegistry::default_path(), "/srv/config/tiltophon/registry.reg");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(FileRegistry::default_path(), "/home/ada/.config/tiltophon/registry.reg");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "relative/ignored");
        EXPECT_EQ(FileRegistry::default_path(), "/home/ada/.config/tiltophon/registry.reg");
    }
}

}  // namespace
}  // namespace tiltophon
