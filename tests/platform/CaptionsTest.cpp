// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "motion/TempFolder.h"
#include "platform/Captions.h"
#include "platform/posix/GettextCaptions.h"
#include "support/ScopedEnv.h"

namespace tiltophon {
namespace {

// What the environment asks for, as gettext reads it, with what cannot be a language
// name left out.
TEST(PreferredLanguagesTest, FollowTheEnvironmentAsGettextDoes) {
    const std::string long_name(10000, 'd');
    const std::string long_between = "fr:" + long_name + ":de";
    struct Row {
        const char *language, *lc_all, *lc_messages, *lang;
        std::string expected;
    };
    const Row rows[] = {
        {nullptr, "fr_FR.UTF-8", "es_ES.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"},
        {"", "", "es_ES.UTF-8", "de_DE.UTF-8", "es_ES.UTF-8"},
        {"fr:de", nullptr, nullptr, "C.UTF-8", "fr:de"},
        // The plain C locale, or none, keeps English whatever LANGUAGE says.
        {"de", "C", nullptr, "de_DE.UTF-8", ""},
        {"de", nullptr, nullptr, nullptr, ""},
        {long_name.c_str(), nullptr, nullptr, "de_DE", "de_DE"},
        {long_between.c_str(), nullptr, nullptr, "de_DE", "fr:de"},
        {"../../../tmp/x:de", nullptr, nullptr, "de_DE", "de"},
        {"\xff\xfe:fr:\x01", nullptr, nullptr, "de_DE", "fr"},
        {":::", nullptr, nullptr, "de_DE", "de_DE"},
        {"a:b:c:d:e:f:g:h:i:j:k:l:m:n:o:p:q:r", nullptr, nullptr, "de", "a:b:c:d:e:f:g:h:i:j:k:l:m:n:o:p"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(preferred_languages(row.language, row.lc_all, row.lc_messages, row.lang),
                  row.expected)
            << (row.language ? std::string(row.language).substr(0, 40) : "(unset)");
    }
}

// A catalogue that is missing, empty, cut short or not a catalogue at all gives English,
// the real one its translation.
TEST(GettextCaptionsTest, ADamagedCatalogueGivesEnglish) {
    const std::string real = TILTOPHON_PROGRAM_DIR "/../../share/locale/de/LC_MESSAGES/tiltophon.mo";
    std::ifstream in(real, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(bytes.size(), 64u);
    std::string header_only = bytes.substr(0, 28);
    std::string wild_offsets = bytes;
    for (std::size_t i = 12; i < 20; ++i) wild_offsets[i] = '\xff';

    struct Row {
        const char* what;
        std::optional<std::string> contents;
        std::u16string expected;
    };
    const Row rows[] = {
        {"missing", std::nullopt, u"Off"},
        {"empty", std::string(), u"Off"},
        {"not a catalogue", std::string(4096, 'x'), u"Off"},
        {"cut short", bytes.substr(0, bytes.size() / 2), u"Off"},
        {"header only", header_only, u"Off"},
        {"tables far past the end", wild_offsets, u"Off"},
        {"whole", bytes, u"Aus"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder folder;
        const auto messages = folder.path() / "share/locale/de/LC_MESSAGES";
        std::filesystem::create_directories(messages);
        if (row.contents) std::ofstream(messages / "tiltophon.mo", std::ios::binary) << *row.contents;
        const std::string program_folder = (folder.path() / "lib/tiltophon/").string();
        GettextCaptions captions(GettextCaptions::locale_folder_of(program_folder), "de");
        EXPECT_EQ(captions.translate(u"Off"), row.expected);
        EXPECT_EQ(captions.translate(u"No such caption"), u"No such caption");
    }
}

TEST(GettextCaptionsTest, EnglishWithoutLanguagesAndTheLocaleFolderBesideTheProgramFolder) {
    GettextCaptions english(TILTOPHON_PROGRAM_DIR "/../../share/locale", "");
    EXPECT_EQ(english.translate(u"Off"), u"Off");
    EXPECT_EQ(GettextCaptions::locale_folder_of("/opt/t/lib/tiltophon/"), "/opt/t/share/locale");

    ScopedEnv language("LANGUAGE", std::string(10000, '\x80').c_str());
    ScopedEnv all("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(GettextCaptions::languages_from_environment(), "de_DE.UTF-8");
}

}  // namespace
}  // namespace tiltophon
