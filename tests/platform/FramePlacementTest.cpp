// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/FramePlacement.h"

namespace tiltophon {
namespace {

Rect xywh(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x, y, x + w, y + h};
}

// Scale factors of the two axes differ by no more than the rounding of one pixel.
void expect_uniform(const FramePlacement& placed) {
    double across = double(placed.target.width()) / placed.frame_width;
    double down = double(placed.target.height()) / placed.frame_height;
    double one_pixel = 1.0 / std::min(placed.frame_width, placed.frame_height);
    EXPECT_NEAR(across, down, across * one_pixel)
        << placed.target.width() << " x " << placed.target.height();
}

TEST(FramePlacementTest, AFrameFillsAWindowOfItsOwnShapeAtAnyScale) {
    struct Case {
        int32_t frame_w, frame_h, out_w, out_h;
    };
    // The handset's window, HiDPI desktops at 1.25, 1.5, 2 and 3 times, and phones.
    for (Case c : {Case{480, 640, 480, 640}, Case{480, 640, 600, 800}, Case{480, 640, 720, 960},
                   Case{480, 640, 960, 1280}, Case{480, 640, 1440, 1920}, Case{480, 960, 720, 1440},
                   Case{480, 1040, 1080, 2340}}) {
        FramePlacement placed = FramePlacement::fit(c.frame_w, c.frame_h, c.out_w, c.out_h);
        EXPECT_EQ(placed.target, xywh(0, 0, c.out_w, c.out_h)) << c.out_w << "x" << c.out_h;
    }
}

TEST(FramePlacementTest, EveryFramePixelComesBackFromTheCentreOfWhereItIsShown) {
    for (double factor : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        int32_t out_w = int32_t(std::lround(480 * factor));
        int32_t out_h = int32_t(std::lround(640 * factor));
        FramePlacement placed = FramePlacement::fit(480, 640, out_w, out_h);
        for (int32_t x = 0; x < 480; ++x) {
            double shown = (x + 0.5) * factor;
            ASSERT_EQ(placed.frame_point(shown, shown).x, x) << "factor " << factor;
        }
        for (int32_t y = 0; y < 640; ++y) {
            ASSERT_EQ(placed.frame_point(0, (y + 0.5) * factor).y, y) << "factor " << factor;
        }
        // The first and last window pixels are the first and last frame pixels.
        EXPECT_EQ(placed.frame_point(0.5, 0.5), (Point{0, 0}));
        EXPECT_EQ(placed.frame_point(out_w - 0.5, out_h - 0.5), (Point{479, 639}));
    }
}

TEST(FramePlacementTest, AnotherShapeLeavesEvenBlackBandsAndNeverStretches) {
    // A window resized to 960 x 1000: the height limits, 1000 / 640 = 1.5625.
    FramePlacement placed = FramePlacement::fit(480, 640, 960, 1000);
    EXPECT_EQ(placed.target, xywh(105, 0, 750, 1000));
    // A wide display: bands left and right.
    EXPECT_EQ(FramePlacement::fit(480, 640, 1920, 1080).target, xywh(555, 0, 810, 1080));
    // A tall one: bands above and below.
    EXPECT_EQ(FramePlacement::fit(480, 640, 480, 1000).target, xywh(0, 180, 480, 640));
    // Odd leftovers put the odd pixel right or below; sides round to the nearest pixel.
    EXPECT_EQ(FramePlacement::fit(480, 640, 961, 1001).target, xywh(105, 0, 751, 1001));
    EXPECT_EQ(FramePlacement::fit(480, 640, 481, 640).target, xywh(0, 0, 480, 640));
    EXPECT_EQ(FramePlacement::fit(480, 640, 480, 641).target, xywh(0, 0, 480, 640));
    EXPECT_EQ(FramePlacement::fit(480, 640, 482, 640).target, xywh(1, 0, 480, 640));
    EXPECT_EQ(FramePlacement::fit(481, 641, 1000, 1000).target, xywh(125, 0, 750, 1000));
    for (auto [w, h] : {std::pair{960, 1000}, {1920, 1080}, {961, 1001}, {333, 777}, {777, 333}}) {
        expect_uniform(FramePlacement::fit(480, 640, w, h));
        expect_uniform(FramePlacement::fit(480, 1040, w, h));
    }
}

TEST(FramePlacementTest, PositionsInTheBandsOrOutsideTheWindowClampToTheFrameEdge) {
    FramePlacement placed = FramePlacement::fit(480, 640, 960, 1000);
    // Half a frame pixel is 0.78 window pixels here.
    EXPECT_EQ(placed.frame_point(105.5, 0.5), (Point{0, 0}));
    EXPECT_EQ(placed.frame_point(854.5, 999.5), (Point{479, 639}));
    EXPECT_EQ(placed.frame_point(20, 500), (Point{0, 320}));     // the left band
    EXPECT_EQ(placed.frame_point(950, 500), (Point{479, 320}));  // the right band
    // A drag past the top or left edge of the window stays on the edge; it never wraps.
    EXPECT_EQ(placed.frame_point(400, -30), (Point{188, 0}));
    EXPECT_EQ(placed.frame_point(-5000, 5000), (Point{0, 639}));
    EXPECT_EQ(placed.frame_point(1e300, -1e300), (Point{479, 0}));
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(placed.frame_point(nan, nan), (Point{0, 0}));

    // A one-pixel band: its pixel belongs to the frame's last column or row.
    EXPECT_EQ(FramePlacement::fit(480, 640, 481, 640).frame_point(480.5, 10.5), (Point{479, 10}));
    EXPECT_EQ(FramePlacement::fit(480, 640, 480, 641).frame_point(10.5, 640.5), (Point{10, 639}));
}

TEST(FramePlacementTest, WindowsOfOnePixelOrOfNoneAndHugeOnesDivideNothingByZero) {
    FramePlacement tiny = FramePlacement::fit(480, 640, 1, 1);
    EXPECT_EQ(tiny.target, xywh(0, 0, 1, 1));
    EXPECT_EQ(tiny.frame_point(0.5, 0.5), (Point{240, 320}));
    EXPECT_EQ(FramePlacement::fit(480, 640, 1, 1000).target, xywh(0, 499, 1, 1));

    for (auto [w, h] : {std::pair{0, 0}, {0, 640}, {480, 0}, {-5, -5}}) {
        FramePlacement none = FramePlacement::fit(480, 640, w, h);
        EXPECT_TRUE(none.target.empty());
        EXPECT_EQ(none.frame_point(10, 10), (Point{0, 0}));
    }
    EXPECT_TRUE(FramePlacement::fit(0, 0, 480, 640).target.empty());

    FramePlacement huge = FramePlacement::fit(480, 640, 10000, 10000);
    EXPECT_EQ(huge.target, xywh(1250, 0, 7500, 10000));
    EXPECT_EQ(huge.frame_point(9999.5, 9999.5), (Point{479, 639}));
    FramePlacement widest = FramePlacement::fit(480, 640, 2147483647, 1);
    EXPECT_EQ(widest.target.height(), 1);
}

// Model check of a turned display: whatever the turn, the window position that shows
// a pixel of the turned frame maps back to the frame pixel that was turned there.
TEST(FramePlacementTest, ATurnedFrameAndThePenAgreeOnEveryPixel) {
    Bitmap frame(4, 6);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 4; ++x) frame.set_pixel(x, y, uint32_t(y * 4 + x));
    }
    Bitmap turned;
    for (int32_t turns = -1; turns <= 4; ++turns) {
        turn_frame(frame, turns, turned);
        const bool quarter = normal_turns(turns) % 2 == 1;
        ASSERT_EQ(turned.width(), quarter ? 6 : 4) << turns;
        // A window of the turned frame's shape at twice its size, with one band.
        FramePlacement placed =
            FramePlacement::fit(4, 6, turned.width() * 2 + 3, turned.height() * 2, turns);
        EXPECT_EQ(placed.target.width(), turned.width() * 2) << turns;
        for (int32_t v = 0; v < turned.height(); ++v) {
            for (int32_t u = 0; u < turned.width(); ++u) {
                Point p = placed.frame_point(placed.target.left + 2 * u + 1.0,
                                             placed.target.top + 2 * v + 1.0);
                ASSERT_EQ(frame.pixel(p.x, p.y), turned.pixel(u, v))
                    << turns << ": " << u << "," << v;
            }
        }
    }
    // A one-pixel-wide turned window still maps inside the frame.
    FramePlacement thin = FramePlacement::fit(480, 960, 1, 720, 1);
    Point p = thin.frame_point(0.5, 700);
    EXPECT_TRUE(p.x >= 0 && p.x < 480 && p.y >= 0 && p.y < 960);
}

}  // namespace
}  // namespace tiltophon
