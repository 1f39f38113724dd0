// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "screens/FramePainter.h"
#include "screens/Screens.h"
#include "screens/ScreensTestKit.h"
#include "support/Pixels.h"
#include "vavurud/AnimationClock.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {
namespace {

using testing::ProgramTest;

constexpr int32_t kW = 480;
constexpr int32_t kH = 640;

// Every pixel names its picture and its own place, so a composed frame tells where
// each of its pixels came from.
uint32_t encode(int tag, int32_t x, int32_t y) {
    return 0xFF000000u | (uint32_t(tag) << 20) | (uint32_t(x) << 10) | uint32_t(y);
}

Bitmap encoded_picture(int tag) {
    Bitmap picture(kW, kH);
    for (int32_t y = 0; y < kH; ++y) {
        for (int32_t x = 0; x < kW; ++x) picture.set_pixel(x, y, encode(tag, x, y));
    }
    return picture;
}

constexpr int O = 0;
constexpr int I = 1;

struct Probe {
    int32_t x, y;
    int tag;
    int32_t from_x, from_y;
};

std::string describe(uint32_t pixel) {
    return std::string((pixel >> 20) & 1 ? "I" : "O") + "(" +
           std::to_string((pixel >> 10) & 0x3FF) + ", " + std::to_string(pixel & 0x3FF) + ")";
}

class ComposeTransitionTest : public ::testing::Test {
protected:
    Bitmap compose(Transition kind, double t) {
        Bitmap frame(kW, kH, 0xFF123456u);
        EXPECT_TRUE(compose_transition(frame, outgoing, incoming, int32_t(kind), t, kW, kH));
        return frame;
    }
    void expect_probes(Transition kind, double t, std::initializer_list<Probe> probes) {
        Bitmap frame = compose(kind, t);
        for (const Probe& p : probes) {
            EXPECT_EQ(describe(frame.pixel(p.x, p.y)), describe(encode(p.tag, p.from_x, p.from_y)))
                << "kind " << int(kind) << " at t = " << t << ", pixel (" << p.x << ", " << p.y
                << ")";
        }
    }

    Bitmap outgoing = encoded_picture(O);
    Bitmap incoming = encoded_picture(I);
};

TEST_F(ComposeTransitionTest, EveryKindStartsOnTheOutgoingPictureAndEndsOnTheIncomingOne) {
    for (int32_t kind = 1; kind <= 16; ++kind) {
        EXPECT_TRUE(test::same_pixels(compose(Transition(kind), 0.0), outgoing)) << "kind " << kind;
        EXPECT_TRUE(test::same_pixels(compose(Transition(kind), 1.0), incoming)) << "kind " << kind;
    }
}

TEST_F(ComposeTransitionTest, SlidingKindsMoveWholeColumnsAndRows) {
    // At a quarter: 120 pixels across, 160 down.
    expect_probes(
        Transition::PushLeft, 0.25,
        {{0, 0, O, 120, 0}, {359, 5, O, 479, 5}, {360, 5, I, 0, 5}, {479, 639, I, 119, 639}});
    expect_probes(Transition::PushRight, 0.25,
                  {{0, 0, I, 360, 0}, {119, 9, I, 479, 9}, {120, 9, O, 0, 9}, {479, 0, O, 359, 0}});
    expect_probes(Transition::PushUp, 0.25,
                  {{7, 0, O, 7, 160}, {7, 479, O, 7, 639}, {7, 480, I, 7, 0}, {7, 639, I, 7, 159}});
    expect_probes(Transition::PushDown, 0.25,
                  {{7, 0, I, 7, 480}, {7, 159, I, 7, 639}, {7, 160, O, 7, 0}, {7, 639, O, 7, 479}});
    expect_probes(Transition::CoverLeft, 0.25,
                  {{0, 0, O, 0, 0}, {359, 3, O, 359, 3}, {360, 3, I, 0, 3}});
    expect_probes(Transition::UncoverLeft, 0.25,
                  {{0, 0, O, 120, 0}, {359, 3, O, 479, 3}, {360, 3, I, 360, 3}});
    expect_probes(Transition::CoverRight, 0.25,
                  {{0, 0, I, 360, 0}, {119, 3, I, 479, 3}, {120, 3, O, 120, 3}});
    expect_probes(Transition::UncoverRight, 0.25,
                  {{0, 0, I, 0, 0}, {119, 3, I, 119, 3}, {120, 3, O, 0, 3}});
    expect_probes(Transition::CoverUp, 0.25,
                  {{3, 479, O, 3, 479}, {3, 480, I, 3, 0}, {3, 639, I, 3, 159}});
    expect_probes(Transition::UncoverUp, 0.25,
                  {{3, 0, O, 3, 160}, {3, 479, O, 3, 639}, {3, 480, I, 3, 480}});
    expect_probes(Transition::CoverDown, 0.25,
                  {{3, 0, I, 3, 480}, {3, 159, I, 3, 639}, {3, 160, O, 3, 160}});
    expect_probes(Transition::UncoverDown, 0.25,
                  {{3, 159, I, 3, 159}, {3, 160, O, 3, 0}, {3, 639, O, 3, 479}});
    // Halfway up, the outgoing picture's lower half sits on the incoming one's.
    expect_probes(Transition::UncoverUp, 0.5,
                  {{0, 0, O, 0, 320}, {0, 319, O, 0, 639}, {0, 320, I, 0, 320}});
}

TEST_F(ComposeTransitionTest, BoxesStayCentredOnTheScreen) {
    // Halfway open: the incoming block (120, 160)-(360, 480) over the outgoing picture.
    expect_probes(Transition::BoxOpen, 0.5,
                  {{120, 160, I, 120, 160},
                   {359, 479, I, 359, 479},
                   {119, 160, O, 119, 160},
                   {360, 479, O, 360, 479},
                   {120, 480, O, 120, 480}});
    // A quarter closed: a 360 x 480 window onto the outgoing picture at (60, 80).
    expect_probes(Transition::BoxClose, 0.25,
                  {{60, 80, O, 60, 80},
                   {419, 559, O, 419, 559},
                   {59, 80, I, 59, 80},
                   {420, 559, I, 420, 559},
                   {60, 79, I, 60, 79}});
}

TEST_F(ComposeTransitionTest, FadesBlendWithAConstantAlphaTruncatedFromProgress) {
    Bitmap black(kW, kH, 0xFF000000u);
    Bitmap white(kW, kH, 0xFFFFFFFFu);
    auto fade = [&](Transition kind, const Bitmap& o, const Bitmap& i, double t) {
        Bitmap frame(kW, kH);
        compose_transition(frame, o, i, int32_t(kind), t, kW, kH);
        return frame.pixel(200, 300) & 0xFFu;
    };
    EXPECT_EQ(fade(Transition::FadeIn, black, white, 0.5), 127u);  // alpha 127
    EXPECT_EQ(fade(Transition::FadeIn, black, white, 1.0), 255u);
    EXPECT_EQ(fade(Transition::FadeOut, white, black, 0.0), 255u);  // alpha 255
    EXPECT_EQ(fade(Transition::FadeOut, white, black, 0.5), 127u);  // trunc(127.5)
}

TEST_F(ComposeTransitionTest, AnUnknownKindComposesNothing) {
    for (int32_t kind : {0, 17, -1}) {
        Bitmap frame(kW, kH, 0xFF123456u);
        EXPECT_FALSE(compose_transition(frame, outgoing, incoming, kind, 0.5, kW, kH));
        EXPECT_EQ(frame.pixel(0, 0), 0xFF123456u);
    }
}

class PageTransitionTest : public ProgramTest {
protected:
    void SetUp() override { start(); }
    AnimationClock& clock() { return *s.animation_clock; }
    // What the root Panel paints now, over black.
    Bitmap live_picture() {
        Bitmap picture(kW, kH);
        s.root_panel->paint(picture);
        return picture;
    }
};

TEST_F(PageTransitionTest, TheFirstPageAfterStartUpIsNotAnimated) {
    EXPECT_FALSE(clock().is_running());
    EXPECT_FALSE(program.headless_window().has_timer(TransitionTimerId));
    EXPECT_TRUE(test::same_pixels(program.frame(), live_picture()));
    // Nor can anything start one while the program is loading.
    s.loading.store(true);
    EXPECT_EQ(start_transition(program.window(), Transition::PushLeft, PageTransitionMs), 0);
    EXPECT_FALSE(clock().is_running());
}

TEST_F(PageTransitionTest, APageChangeRunsOnItsTimerAndEndsOnTheLiveControls) {
    Bitmap home = program.frame();
    tap(s.sounds_tab);
    ASSERT_TRUE(clock().is_running());
    EXPECT_EQ(clock().kind(), int32_t(Transition::PushLeft));
    EXPECT_EQ(clock().duration(), 300);
    HeadlessWindow& window = program.headless_window();
    ASSERT_TRUE(window.has_timer(TransitionTimerId));
    EXPECT_EQ(window.timer_period(TransitionTimerId), 11u);
    EXPECT_TRUE(test::same_pixels(s.outgoing_buffer, home));
    EXPECT_TRUE(test::same_pixels(s.incoming_buffer, live_picture()));

    // Halfway the frame is composed from the two pictures, the incoming one entering
    // at the right edge.
    program.advance(154);
    const Bitmap& frame = program.frame();
    auto k = static_cast<int32_t>(kW * clock().progress());
    ASSERT_GT(k, 0);
    ASSERT_LT(k, kW);
    EXPECT_EQ(frame.pixel(0, 300), home.pixel(k, 300));
    EXPECT_EQ(frame.pixel(kW - k, 300), s.incoming_buffer.pixel(0, 300));

    int presents = window.present_count();
    program.advance(300);
    EXPECT_FALSE(clock().is_running());
    EXPECT_FALSE(window.has_timer(TransitionTimerId));
    EXPECT_TRUE(test::same_pixels(program.frame(), live_picture()));
    // One repaint per tick at most: 300 ms at 11 ms leaves no room for more.
    EXPECT_LE(window.present_count() - presents, 28);
}

TEST_F(PageTransitionTest, WithAnimationsOffEveryChangeShowsAtTheNextPaint) {
    tap(s.settings_tab);
    program.settle();
    tap(s.animations_check);
    ASSERT_FALSE(s.animations_check->is_pressed());
    tap(s.home_tab);
    EXPECT_FALSE(clock().is_running());
    EXPECT_TRUE(s.home_page->is_visible());
    EXPECT_TRUE(test::same_pixels(program.frame(), live_picture()));
}

TEST_F(PageTransitionTest, ASecondChangeStartsFromTheFrameOnScreen) {
    tap(s.sounds_tab);
    program.advance(100);
    Bitmap halfway = program.frame();
    tap(s.settings_tab);
    EXPECT_TRUE(test::same_pixels(s.outgoing_buffer, halfway));
    EXPECT_EQ(clock().kind(), int32_t(Transition::PushLeft));
    EXPECT_EQ(clock().progress(), 0.0);
    program.settle();
    EXPECT_TRUE(s.settings_page->is_visible());
    EXPECT_TRUE(test::same_pixels(program.frame(), live_picture()));
}

}  // namespace
}  // namespace tiltophon
