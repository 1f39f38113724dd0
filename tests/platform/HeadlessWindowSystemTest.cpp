// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

std::vector<uint32_t> g_ticks;
std::vector<uint32_t> g_messages;

LResult record_proc(Window* window, uint32_t message, WParam first, LParam second) {
    g_messages.push_back(message);
    return window->default_proc(message, first, second);
}

void record_tick(Window*, uint32_t id) { g_ticks.push_back(id); }

// A tick that first sleeps on the virtual clock, as a vibration pulse does; it ends
// its timer at its third call, so that runaway ticks show as a count.
HeadlessClock* g_sleeping_clock = nullptr;
void sleeping_tick(Window* window, uint32_t id) {
    g_ticks.push_back(id);
    if (g_ticks.size() == 1) g_sleeping_clock->sleep_ms(80);
    if (g_ticks.size() == 3) window->kill_timer(id);
}

class HeadlessWindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_ticks.clear();
        g_messages.clear();
        window = headless.windows.create_window(u"C", u"T", record_proc);
    }
    HeadlessPlatform headless;
    Window* window = nullptr;
};

TEST_F(HeadlessWindowSystemTest, TimersFireOnVirtualTimeInOrder) {
    window->set_timer(1, 50, record_tick);
    window->set_timer(5, 11, record_tick);
    headless.windows.advance(60);
    EXPECT_EQ(g_ticks, (std::vector<uint32_t>{5, 5, 5, 5, 1, 5}));
    EXPECT_EQ(headless.clock.tick_count_ms(), 60u);

    window->kill_timer(5);
    g_ticks.clear();
    headless.windows.advance(50);
    EXPECT_EQ(g_ticks, (std::vector<uint32_t>{1}));
}

TEST_F(HeadlessWindowSystemTest, TimeThatASleepTakesPastTheEndIsNotRunAgain) {
    g_sleeping_clock = &headless.clock;
    window->set_timer(3, 50, sleeping_tick);
    headless.windows.advance(60);
    // The tick at 50 slept until 130: time has passed the end, and no more ticks come.
    EXPECT_EQ(g_ticks, (std::vector<uint32_t>{3}));
    EXPECT_EQ(headless.clock.tick_count_ms(), 130u);
}

TEST_F(HeadlessWindowSystemTest, PostedMessagesWaitForThePumpAndPaintComesLast) {
    window->post_message(msg::kApp + 1, 4, 0);
    window->invalidate(nullptr, true);
    EXPECT_EQ(g_messages, (std::vector<uint32_t>{msg::kCreate}));
    headless.windows.pump();
    EXPECT_EQ(g_messages, (std::vector<uint32_t>{msg::kCreate, msg::kApp + 1, msg::kPaint}));
}

TEST_F(HeadlessWindowSystemTest, CloseDestroysAndTheLoopEndsWithTheQuitCode) {
    window->send_message(msg::kClose, 0, 0);
    EXPECT_EQ(g_messages.back(), msg::kDestroy);
    headless.windows.post_quit(0);
    Message m;
    EXPECT_FALSE(headless.windows.get_message(m));
    EXPECT_EQ(m.message, msg::kQuit);
}

TEST_F(HeadlessWindowSystemTest, ClockWrapsAroundLikeATickCounter) {
    headless.clock.set(0xFFFFFFF0u);
    window->set_timer(2, 50, record_tick);
    headless.windows.advance(50);
    EXPECT_EQ(g_ticks, (std::vector<uint32_t>{2}));
    EXPECT_EQ(headless.clock.tick_count_ms(), 0x22u);
}

}  // namespace
}  // namespace tiltophon
