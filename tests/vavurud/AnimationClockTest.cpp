// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "program/HeadlessPlatform.h"
#include "vavurud/AnimationClock.h"

namespace tiltophon {
namespace {

constexpr uint32_t kTimerId = 5;
constexpr uint32_t kPeriodMs = 11;

AnimationClock* g_clock = nullptr;
std::vector<double> g_seen;

// What the frame painter's timer routine does: advance, then look at the progress.
void clock_tick(Window* window, uint32_t timer_id) {
    g_clock->tick(window, timer_id);
    g_seen.push_back(g_clock->is_running() ? g_clock->progress() : -1.0);
}

LResult plain_proc(Window* window, uint32_t message, WParam first, LParam second) {
    return window->default_proc(message, first, second);
}

class AnimationClockTest : public ::testing::Test {
protected:
    AnimationClockTest() {
        g_clock = &clock;
        g_seen.clear();
    }

    void start() { clock.start(window, kTimerId, kPeriodMs, clock_tick); }
    void tick_at(uint32_t now) {
        headless.clock.set(now);
        clock.tick(window, kTimerId);
    }
    HeadlessWindow& timers() { return *headless.windows.window(); }

    HeadlessPlatform headless;
    Window* window = headless.windows.create_window(u"C", u"T", plain_proc);
    AnimationClock clock;
};

TEST_F(AnimationClockTest, ANewClockHasNoKindAndTheDefaultLength) {
    EXPECT_EQ(clock.kind(), 0);
    EXPECT_EQ(clock.duration(), 400);
    EXPECT_FALSE(clock.is_running());
    EXPECT_EQ(clock.progress(), 0.0);
}

TEST_F(AnimationClockTest, ProgressIsTheElapsedShareAndTheTickAfterTheEndStops) {
    headless.clock.set(5000);
    clock.set_kind(7).set_duration(300);
    start();
    EXPECT_TRUE(clock.is_running());
    ASSERT_TRUE(timers().has_timer(kTimerId));
    EXPECT_EQ(timers().timer_period(kTimerId), kPeriodMs);
    EXPECT_EQ(clock.progress(), 0.0) << "before the first tick";

    tick_at(5075);
    EXPECT_DOUBLE_EQ(clock.progress(), 0.25);
    tick_at(5150);
    EXPECT_DOUBLE_EQ(clock.progress(), 0.5);
    tick_at(5320);
    EXPECT_EQ(clock.progress(), 1.0) << "never beyond the end";
    EXPECT_TRUE(clock.is_running()) << "the last frame is drawn with the clock running";
    tick_at(5331);
    EXPECT_FALSE(clock.is_running());
    EXPECT_FALSE(timers().has_timer(kTimerId));
    EXPECT_EQ(clock.progress(), 1.0);
    EXPECT_EQ(clock.kind(), 7) << "the kind stays for the next start";
}

TEST_F(AnimationClockTest, TheWindowTimerDrivesItToTheEnd) {
    clock.set_kind(1).set_duration(44);
    start();
    headless.windows.advance(100);
    // Ticks at 11, 22, 33 and 44 ms, then the one at 55 ms stops the clock.
    EXPECT_EQ(g_seen, (std::vector<double>{0.25, 0.5, 0.75, 1.0, -1.0}));
    EXPECT_FALSE(timers().has_timer(kTimerId));
}

TEST_F(AnimationClockTest, StartingAgainWhileRunningStartsOverWithOneTimer) {
    clock.set_kind(3).set_duration(200);
    start();
    tick_at(100);
    EXPECT_DOUBLE_EQ(clock.progress(), 0.5);
    headless.clock.set(150);
    start();
    EXPECT_EQ(clock.progress(), 0.0);
    // One timer, due a whole period after the restart, measuring from there.
    headless.windows.advance(kPeriodMs - 1);
    EXPECT_TRUE(g_seen.empty());
    headless.windows.advance(1);
    EXPECT_EQ(g_seen, std::vector<double>{0.055});
    tick_at(250);
    EXPECT_DOUBLE_EQ(clock.progress(), 0.5);
}

TEST_F(AnimationClockTest, NoKindOrNoLengthStartsNothing) {
    start();
    EXPECT_FALSE(clock.is_running());
    EXPECT_FALSE(timers().has_timer(kTimerId));

    clock.set_kind(2).set_duration(0);
    EXPECT_EQ(clock.duration(), 0);
    start();
    EXPECT_FALSE(clock.is_running());
    EXPECT_FALSE(timers().has_timer(kTimerId));

    // A negative length means the default one.
    clock.set_duration(-5);
    EXPECT_EQ(clock.duration(), 400);
    start();
    EXPECT_TRUE(clock.is_running());
    tick_at(100);
    EXPECT_DOUBLE_EQ(clock.progress(), 0.25);

    // A start that cannot run leaves a running clock as it was.
    clock.set_kind(0);
    headless.clock.set(300);
    start();
    EXPECT_TRUE(clock.is_running());
    EXPECT_DOUBLE_EQ(clock.progress(), 0.25);
}

TEST_F(AnimationClockTest, TheTickCountWrappingAroundDoesNotDisturbIt) {
    headless.clock.set(0xFFFFFF00u);
    clock.set_kind(4).set_duration(512);
    start();
    tick_at(0x00000000u);  // 256 ms after the start, across the wrap
    EXPECT_DOUBLE_EQ(clock.progress(), 0.5);
    tick_at(0x00000100u);
    EXPECT_EQ(clock.progress(), 1.0);
}

}  // namespace
}  // namespace tiltophon
