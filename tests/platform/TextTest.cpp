// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace tiltophon {
namespace {

TEST(FixedText, CopiesAreBoundedAndTerminated) {
    std::u16string long_name(400, u'x');
    PathText text(long_name);
    EXPECT_EQ(text.length(), 259u);
    EXPECT_EQ(text.c_str()[259], u'\0');

    text.assign(u"Drums/");
    text.append(long_name);
    EXPECT_EQ(text.length(), 259u);
    EXPECT_EQ(text.view().substr(0, 6), u"Drums/");
}

TEST(FixedText, CutNeverSplitsASurrogatePair) {
    // 258 units, then a pair that would straddle the 259-unit limit.
    std::u16string text(258, u'a');
    text += u"\U0001F3B5";
    PathText cut(text);
    EXPECT_EQ(cut.length(), 258u);

    // A pair that fits exactly is kept.
    std::u16string fits(257, u'a');
    fits += u"\U0001F3B5";
    EXPECT_EQ(PathText(fits).length(), 259u);
}

TEST(FixedText, StopsAtTheFirstZeroAndTreatsNullAsEmpty) {
    std::u16string with_zero = u"Kick";
    with_zero.push_back(0);
    with_zero += u"wav";
    EXPECT_EQ(PathText(with_zero).view(), u"Kick");
    EXPECT_TRUE(PathText(static_cast<const char16_t*>(nullptr)).empty());
}

TEST(Utf8Conversion, RoundTripsValidTextAndRawBytes) {
    std::string valid = "Gl\xC3\xB6" "ckchen \xF0\x9F\x8E\xB5.wav";
    EXPECT_EQ(utf8_from_utf16(utf16_from_utf8(valid)), valid);

    // Bytes that are not UTF-8 come back unchanged, so such a file can be opened.
    std::string invalid = "bad\xFF\xC3(\xE2\x82name";
    std::u16string wide = utf16_from_utf8(invalid);
    EXPECT_EQ(wide[3], 0xDCFF);
    EXPECT_EQ(utf8_from_utf16(wide), invalid);
}

TEST(Utf8Conversion, RejectsOverlongAndSurrogateEncodings) {
    EXPECT_EQ(utf16_from_utf8("\xC0\xAF")[0], 0xDCC0);       // overlong '/'
    EXPECT_EQ(utf16_from_utf8("\xED\xA0\x80")[0], 0xDCED);   // encoded surrogate
    EXPECT_EQ(utf8_from_utf16(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(CaseFolding, ComparesIgnoringCase) {
    EXPECT_LT(compare_ignoring_case(u"alpha", u"Beta"), 0);
    EXPECT_EQ(compare_ignoring_case(u"KICK.WAV", u"kick.wav"), 0);
    EXPECT_GT(compare_ignoring_case(u"drums", u"Drum"), 0);
    EXPECT_TRUE(ends_with_ignoring_case(u"KICK.WAV", u".wav"));
    EXPECT_FALSE(ends_with_ignoring_case(u"wav", u".wav"));
}

TEST(CaseFolding, FoldsEveryScriptWithCaseNotOnlyLatin1) {
    const std::u16string_view same[][2] = {
        // Latin Extended, Greek, Cyrillic, Armenian and Deseret (beyond the BMP).
        {u"ŁÓDŹ", u"łódź"},
        {u"ΑΛΦΑ", u"αλφα"},
        {u"БАРАБАН", u"барабан"},
        {u"\u0531\u0550\u0535\u054e", u"\u0561\u0580\u0565\u057e"},
        {u"\U00010400", u"\U00010428"},
        // Variant forms fold with their letter: final sigma, long s, the micro sign.
        {u"ΛΟΓΟΣ", u"λογος"},
        {u"ΛΟΓΟΣ", u"λογοσ"},
        {u"ſ", u"S"},
        {u"µs", u"μS"},
    };
    for (const auto& pair : same) {
        EXPECT_EQ(compare_ignoring_case(pair[0], pair[1]), 0) << utf8_from_utf16(pair[0]);
    }
    // Letters without case, and lone surrogates, stay as they are.
    EXPECT_LT(compare_ignoring_case(u"日本", u"日本語"), 0);
    EXPECT_NE(compare_ignoring_case(std::u16string(1, char16_t(0xD801)), u"\U00010428"), 0);
    EXPECT_TRUE(ends_with_ignoring_case(u"Звук.WAV", u".wav"));
    EXPECT_TRUE(ends_with_ignoring_case(u"ΉΧΟΣ.ΠΝΓ", u".πνγ"));
}

TEST(CaseFolding, OrdersByTheFoldedLetters) {
    // Upper-case letters outside Latin-1 used to sort before every lower-case one.
    EXPECT_GT(compare_ignoring_case(u"Łza", u"łabędź"), 0);
    EXPECT_GT(compare_ignoring_case(u"Гусли", u"барабан"), 0);
    EXPECT_GT(compare_ignoring_case(u"Βήτα", u"άλφα"), 0);
    EXPECT_LT(compare_ignoring_case(u"Zebra", u"Ärger"), 0);
}

}  // namespace
}  // namespace tiltophon
