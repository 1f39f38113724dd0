// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "program/HeadlessPlatform.h"
#include "support/Pixels.h"
#include "vavurud/Draw.h"

namespace tiltophon {
namespace {

// Every unit 10 pixels wide, a cell of 8 + 4; records what it is asked to paint.
class BoxFont : public Font {
public:
    struct Run {
        Rect clip;
        int32_t x;
        int32_t baseline;
        std::u16string text;
        uint32_t pixel;
    };

    int32_t ascent() const override { return 8; }
    int32_t descent() const override { return 4; }
    int32_t text_width(std::u16string_view text) const override {
        return 10 * static_cast<int32_t>(text.size());
    }
    void draw(Bitmap&, const Rect& clip, int32_t x, int32_t baseline, std::u16string_view text,
              uint32_t pixel) const override {
        runs.push_back({clip, x, baseline, std::u16string(text), pixel});
    }

    mutable std::vector<Run> runs;
};

class DrawTextTest : public ::testing::Test {
protected:
    HeadlessPlatform headless;
    Bitmap target{200, 100};
    BoxFont font;

    BoxFont::Run draw(std::u16string_view text, const Rect& rect, uint32_t format) {
        font.runs.clear();
        draw_text(target, text, rect, format, 0x0000FF, &font);
        EXPECT_EQ(font.runs.size(), 1u);
        return font.runs.empty() ? BoxFont::Run{} : font.runs.back();
    }
};

TEST_F(DrawTextTest, AlignsHorizontallyAndVertically) {
    const Rect rect{10, 20, 110, 60};  // 100 x 40; "abc" is 30 x 12
    using namespace text_format;
    auto left_top = draw(u"abc", rect, kSingleLine);
    EXPECT_EQ(left_top.x, 10);
    EXPECT_EQ(left_top.baseline, 20 + 8);
    EXPECT_EQ(left_top.pixel, pixel_from_colour(0x0000FF));

    auto centred = draw(u"abc", rect, kSingleLine | kCentre | kVerticalCentre);
    EXPECT_EQ(centred.x, 10 + 35);
    EXPECT_EQ(centred.baseline, 20 + 14 + 8);

    auto right_bottom = draw(u"abc", rect, kSingleLine | kRight | kBottom);
    EXPECT_EQ(right_bottom.x, 110 - 30);
    EXPECT_EQ(right_bottom.baseline, 60 - 12 + 8);

    // Vertical placement is for single lines; other text starts at the top.
    auto multi = draw(u"abc", rect, kCentre | kVerticalCentre);
    EXPECT_EQ(multi.baseline, 20 + 8);

    // Odd leftovers truncate: 41 - 30 = 11 -> 5; 13 - 12 = 1 -> 0.
    auto odd = draw(u"abc", {0, 0, 41, 13}, kSingleLine | kCentre | kVerticalCentre);
    EXPECT_EQ(odd.x, 5);
    EXPECT_EQ(odd.baseline, 8);
}

TEST_F(DrawTextTest, EndEllipsisCutsTheTextToFit) {
    using namespace text_format;
    // 57 pixels hold two units and the three dots.
    EXPECT_EQ(draw(u"abcdefgh", {0, 0, 57, 20}, kDefault).text, u"ab...");
    // Text that fits is left alone; without the flag it is only clipped.
    EXPECT_EQ(draw(u"abcde", {0, 0, 50, 20}, kDefault).text, u"abcde");
    EXPECT_EQ(draw(u"abcdefgh", {0, 0, 57, 20}, kSingleLine).text, u"abcdefgh");
    // No room even for the dots: the dots alone, clipped.
    EXPECT_EQ(draw(u"abcdefgh", {0, 0, 12, 20}, kDefault).text, u"...");
    // A cut never splits a surrogate pair: "a" + pair takes three units, 30 pixels.
    EXPECT_EQ(draw(u"a\U0001F600bcd", {0, 0, 59, 20}, kDefault).text, u"a...");
    // Centred after cutting, by the width of what is shown.
    auto centred = draw(u"abcdefgh", {0, 0, 57, 20}, kDefault | kCentre);
    EXPECT_EQ(centred.x, (57 - 50) / 2);
}

TEST_F(DrawTextTest, ClipsToTheRectangleAndTheSurface) {
    auto run = draw(u"abc", {-10, 90, 150, 130}, text_format::kDefault);
    EXPECT_EQ(run.clip, (Rect{0, 90, 150, 100}));

    // A rectangle spanning the whole plane is wider than 32 bits can say; centring in
    // it still puts the 30-pixel text around the origin.
    using namespace text_format;
    const Rect plane{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    auto centred = draw(u"abc", plane, kSingleLine | kCentre | kVerticalCentre);
    EXPECT_EQ(centred.x, -16);
    EXPECT_EQ(centred.baseline, -7 + 8);
    EXPECT_EQ(centred.clip, target.bounds());
    // Inside out by almost the whole plane: nothing to draw, and nothing overflows.
    font.runs.clear();
    draw_text(target, u"abc", {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}, kDefault | kRight, 0,
              &font);
    EXPECT_TRUE(font.runs.empty());
}

TEST_F(DrawTextTest, EmptyTextAndMissingFontsDrawNothing) {
    font.runs.clear();
    draw_text(target, u"", {0, 0, 100, 20}, text_format::kDefault, 0, &font);
    draw_text(target, std::u16string_view(u"\0abc", 4), {0, 0, 100, 20}, text_format::kDefault, 0,
              &font);
    EXPECT_TRUE(font.runs.empty());
    // The text ends at its first zero unit.
    EXPECT_EQ(draw(std::u16string_view(u"ab\0cd", 5), {0, 0, 100, 20}, 0).text, u"ab");

    // No font engine at all: a null font has nothing to fall back on.
    platform().fonts = nullptr;
    const Bitmap before = target;
    draw_text(target, u"abc", {0, 0, 100, 20}, text_format::kDefault, 0xFFFFFF, nullptr);
    EXPECT_TRUE(test::same_pixels(target, before));
}

TEST_F(DrawTextTest, NullFontDrawsInTheDefaultFont) {
    Bitmap black(120, 40);
    draw_text(black, u"Hello", {0, 0, 120, 40}, text_format::kDefault, 0xFFFFFF, nullptr);
    int lit = 0;
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 120; ++x) lit += black.pixel(x, y) != Bitmap::kOpaqueBlack;
    }
    EXPECT_GT(lit, 50);
}

// A caption too wide for its box shrinks to the largest size that fits, at most to
// 70 % of its cell height, and is cut with "..." only past that; a font that cannot
// change size is cut at once.
TEST(FitTextTest, ShrinksDownToSeventyPercentThenCuts) {
    HeadlessPlatform headless;
    LogicalFont description;
    description.height = 28;
    description.face.assign(u"sans-serif");
    const std::unique_ptr<Font> font = headless.fonts.create_font(description);
    ASSERT_NE(font, nullptr);
    const std::u16string caption = u"Vibration bei Berührung:";
    const int32_t natural = font->text_width(caption);

    struct Row {
        int32_t room;
        bool cut;
        int32_t min_cell, max_cell;
    };
    const Row rows[] = {
        {natural, false, 28, 28},
        {natural * 80 / 100, false, 20, 27},
        {natural / 2, true, 20, 20},
        {0, true, 20, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.room);
        const FittedText fitted = fit_text(caption, row.room, font.get());
        ASSERT_NE(fitted.font, nullptr);
        const int32_t cell = fitted.font->ascent() + fitted.font->descent();
        EXPECT_EQ(fitted.cut, row.cut);
        EXPECT_GE(cell, row.min_cell);
        EXPECT_LE(cell, row.max_cell);
        if (row.cut) {
            EXPECT_TRUE(fitted.text.ends_with(u"..."));
        } else {
            EXPECT_EQ(fitted.text, caption);
        }
        if (row.room > 0) {
            EXPECT_LE(fitted.font->text_width(fitted.text), row.room);
        }
        // No smaller size fits less than the one chosen: one pixel larger would not fit.
        if (!row.cut && cell < 28) {
            EXPECT_GT(font->at_cell_height(cell + 1)->text_width(caption), row.room);
        }
    }

    BoxFont fixed;
    const FittedText cut = fit_text(u"abcdef", 45, &fixed);
    EXPECT_EQ(cut.font, &fixed);
    EXPECT_EQ(cut.text, u"a...");
}

}  // namespace
}  // namespace tiltophon
