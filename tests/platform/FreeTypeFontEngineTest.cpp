// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <thread>

#include "platform/media/FreeTypeFontEngine.h"

namespace tiltophon {
namespace {

LogicalFont font_of(std::u16string_view face, int32_t height, int32_t weight = 500) {
    LogicalFont description;
    description.face.assign(face);
    description.height = height;
    description.weight = weight;
    return description;
}

int lit_pixels(const Bitmap& bitmap, const Rect& outside_of = {}) {
    int lit = 0;
    for (int32_t y = 0; y < bitmap.height(); ++y) {
        for (int32_t x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) != Bitmap::kOpaqueBlack && !outside_of.contains(x, y)) ++lit;
        }
    }
    return lit;
}

TEST(FreeTypeFontEngineTest, APositiveHeightIsTheCellHeight) {
    FreeTypeFontEngine engine(28);
    for (int32_t height : {14, 28, 32, 36}) {
        auto font = engine.create_font(font_of(u"HelveticaNeue LT 35 Thin", height));
        ASSERT_TRUE(font) << height;
        EXPECT_EQ(font->ascent() + font->descent(), height);
        EXPECT_GT(font->ascent(), font->descent());
    }
    // A negative height is the em size, so the cell comes out taller.
    auto em = engine.create_font(font_of(u"sans-serif", -28));
    ASSERT_TRUE(em);
    EXPECT_GT(em->ascent() + em->descent(), 28);
    // Zero asks for the default cell.
    auto plain = engine.create_font(font_of(u"sans-serif", 0));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->ascent() + plain->descent(), 28);
    ASSERT_TRUE(engine.default_font());
    EXPECT_EQ(engine.default_font()->ascent() + engine.default_font()->descent(), 28);
}

TEST(FreeTypeFontEngineTest, MeasuresAndPaintsInsideTheClip) {
    FreeTypeFontEngine engine(28);
    auto font = engine.create_font(font_of(u"HelveticaNeue LT 35 Thin", 28));
    ASSERT_TRUE(font);
    const int32_t one = font->text_width(u"W");
    EXPECT_GT(one, 5);
    EXPECT_GT(font->text_width(u"WWWW"), 3 * one);
    EXPECT_EQ(font->text_width(u""), 0);

    Bitmap target(200, 60);
    const Rect clip{20, 10, 60, 40};
    font->draw(target, clip, 10, 35, u"WWWWWWWW", 0xFFFFFFFF);
    EXPECT_GT(lit_pixels(target), 100);
    EXPECT_EQ(lit_pixels(target, clip), 0);

    // A clip reaching past the surface is cut to it.
    Bitmap small(30, 30);
    font->draw(small, {-100, -100, 100, 100}, -5, 25, u"WWWWW", 0xFFFFFFFF);
    EXPECT_GT(lit_pixels(small), 20);
}

TEST(FreeTypeFontEngineTest, LoneSurrogatesDrawAsReplacementCharacters) {
    FreeTypeFontEngine engine(28);
    auto font = engine.create_font(font_of(u"sans-serif", 28));
    ASSERT_TRUE(font);
    const std::u16string lone_high = {u'a', char16_t(0xD800), u'b'};
    const std::u16string lone_low = {char16_t(0xDC00)};
    const std::u16string replacement = {u'a', char16_t(0xFFFD), u'b'};
    EXPECT_EQ(font->text_width(lone_high), font->text_width(replacement));
    EXPECT_EQ(font->text_width(lone_low), font->text_width(std::u16string{char16_t(0xFFFD)}));
    Bitmap target(100, 40);
    font->draw(target, target.bounds(), 0, 30, lone_high, 0xFFFFFFFF);
    font->draw(target, target.bounds(), 0, 30, lone_low, 0xFFFFFFFF);
    EXPECT_GT(lit_pixels(target), 0);
}

TEST(FreeTypeFontEngineTest, SemiboldIsHeavierThanMedium) {
    FreeTypeFontEngine engine(28);
    auto medium = engine.create_font(font_of(u"HelveticaNeue LT 35 Thin", 32, 500));
    auto semibold = engine.create_font(font_of(u"HelveticaNeue LT 35 Thin", 32, 600));
    ASSERT_TRUE(medium && semibold);
    Bitmap a(300, 50);
    Bitmap b(300, 50);
    medium->draw(a, a.bounds(), 0, 40, u"Sounds", 0xFFFFFFFF);
    semibold->draw(b, b.bounds(), 0, 40, u"Sounds", 0xFFFFFFFF);
    auto ink = [](const Bitmap& bitmap) {
        long sum = 0;
        for (int32_t y = 0; y < bitmap.height(); ++y) {
            for (int32_t x = 0; x < bitmap.width(); ++x) sum += bitmap.pixel(x, y) & 0xFF;
        }
        return sum;
    };
    EXPECT_GT(ink(b), ink(a));
}

}  // namespace
}  // namespace tiltophon

namespace tiltophon {
namespace {

// The loader thread makes the skin's fonts while the main thread paints the splash
// screen in the default font.
TEST(FreeTypeFontEngineThreadsTest, CreatingAndDrawingOnTwoThreads) {
    FreeTypeFontEngine engine(28);
    const Font* plain = engine.default_font();
    ASSERT_TRUE(plain);
    std::thread loader([&] {
        for (int i = 0; i < 20; ++i) {
            auto font = engine.create_font(font_of(u"HelveticaNeue LT 35 Thin", 20 + i, 500 + 100 * (i % 2)));
            Bitmap scratch(60, 30);
            if (font) font->draw(scratch, scratch.bounds(), 0, 20, u"Skin", 0xFFFFFFFF);
        }
    });
    Bitmap frame(200, 40);
    for (int i = 0; i < 50; ++i) {
        plain->draw(frame, frame.bounds(), 0, 30, u"Loading Skin...", 0xFFFFFFFF);
        EXPECT_GT(plain->text_width(u"Loading Skin..."), 0);
    }
    loader.join();
}

}  // namespace
}  // namespace tiltophon
