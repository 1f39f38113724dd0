// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "app/SplashScreen.h"
#include "program/HeadlessPlatform.h"
#include "support/Golden.h"
#include "support/Pixels.h"

namespace tiltophon {
namespace {

using test::colour_at;

// A picture of the given size with a diagonal pattern, so any misplacement shows.
Bitmap picture(int32_t size) {
    Bitmap bitmap(size, size);
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            const uint32_t band = ((x + y) / 16) % 4;
            bitmap.set_pixel(x, y, 0xFF000000u | (band * 0x202060) | (x * 255 / size) << 8);
        }
    }
    return bitmap;
}

// Whether anything but black was drawn in the rows [top, bottom).
bool rows_drawn(const Bitmap& frame, int32_t top, int32_t bottom) {
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = 0; x < frame.width(); ++x) {
            if (frame.pixel(x, y) != Bitmap::kOpaqueBlack) return true;
        }
    }
    return false;
}

TEST(SplashScreenTest, GeometryOnASmallScreen) {
    HeadlessPlatform headless({240, 320, 96, 96});
    const Bitmap image = picture(240);
    SplashScreen splash;
    splash.set_background(&image);
    splash.set_step(u"Loading...", 0);
    Bitmap frame(240, 320, 0xFF123456);
    splash.paint_to(frame, frame.bounds(), 255);

    // The picture fills the top 240 x 240.
    EXPECT_EQ(frame.pixel(0, 0), image.pixel(0, 0));
    EXPECT_EQ(frame.pixel(239, 239), image.pixel(239, 239));
    // The bar runs from x = 30 to 210 at y = 240 to 248, its frame one pixel outside.
    EXPECT_EQ(colour_at(frame, 29, 239), 0x808080u);
    EXPECT_EQ(colour_at(frame, 210, 248), 0x808080u);
    EXPECT_EQ(colour_at(frame, 28, 244), 0x000000u);
    EXPECT_EQ(colour_at(frame, 211, 244), 0x000000u);
    // At 0 % the track is empty.
    EXPECT_EQ(colour_at(frame, 30, 240), 0x333333u);
    EXPECT_EQ(colour_at(frame, 209, 247), 0x333333u);
    // The message sits in the band from y = 260 to 320 and nowhere else.
    EXPECT_FALSE(rows_drawn(frame, 249, 260));
    EXPECT_TRUE(rows_drawn(frame, 260, 320));

    // Above 100 counts as 100: the whole bar is filled, top row the top colour and
    // each of the 8 rows one step of the run to the bottom colour.
    splash.set_percent(150);
    EXPECT_EQ(splash.progress().percent, 100u);
    splash.draw(frame, frame.bounds());
    EXPECT_EQ(colour_at(frame, 30, 240), 0x11D4FEu);
    EXPECT_EQ(colour_at(frame, 209, 240), 0x11D4FEu);
    // Row 7 of 8: red 0xFE00 + (0x7000 - 0xFE00) x 7 / 8 = 0x81C0, green 0xD400 +
    // (0x5C00 - 0xD400) x 7 / 8 = 0x6B00, blue 0x1100 - 0x1100 x 7 / 8 = 0x0220.
    EXPECT_EQ(colour_at(frame, 209, 247), 0x026B81u);

    // Half way: 180 x 50 / 100 = 90 pixels filled.
    splash.set_percent(50);
    splash.draw(frame, frame.bounds());
    EXPECT_EQ(colour_at(frame, 119, 240), 0x11D4FEu);
    EXPECT_EQ(colour_at(frame, 120, 240), 0x333333u);
}

TEST(SplashScreenTest, WithoutDetailsOnlyBackgroundAndPicture) {
    HeadlessPlatform headless({240, 320, 96, 96});
    SplashScreen splash;
    splash.set_show_details(false);
    splash.set_step(u"Loading...", 60);
    Bitmap frame(240, 320, 0xFF123456);
    splash.draw(frame, frame.bounds());
    EXPECT_FALSE(rows_drawn(frame, 0, 320));
}

TEST(SplashScreenTest, PaintBlendsWithTheGivenOpacity) {
    HeadlessPlatform headless({240, 320, 96, 96});
    SplashScreen splash;
    Bitmap frame(240, 320, pixel_from_colour(0xFFFFFF));
    splash.paint_to(frame, frame.bounds(), 128);
    // Black at 128 over white: (255 x 127 + 127) / 255 = 127.
    EXPECT_EQ(colour_at(frame, 10, 10), 0x7F7F7Fu);
}

class SplashScreenGoldenTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(SplashScreenGoldenTest, FullScreenFrame) {
    HeadlessPlatform headless;  // 480 x 640 at 192 dpi
    const Bitmap image = picture(480);
    SplashScreen splash;
    splash.set_background(&image);
    splash.set_step(
        u"Loading a message far too long for the band it is shown in, so it ends in dots",
        GetParam());
    Bitmap frame(480, 640);
    splash.paint_to(frame, frame.bounds(), 255);
    EXPECT_TRUE(test::matches_golden(frame, "splash_" + std::to_string(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Percent, SplashScreenGoldenTest, ::testing::Values(0u, 50u, 100u));

}  // namespace
}  // namespace tiltophon
