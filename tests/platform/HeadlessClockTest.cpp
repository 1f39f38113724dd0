// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

// Waits, in real time but without a limit that could fail a slow machine, until
// `done` holds; the test's own timeout catches a hang.
template <typename Condition>
void wait_until(Condition done) {
    while (!done()) std::this_thread::yield();
}

TEST(HeadlessClockThreadsTest, InBlockingModeOtherThreadsWaitWhileTheDrivingThreadMovesOn) {
    HeadlessPlatform headless;
    headless.threads.set_inline(false);
    headless.clock.set_blocking_sleeps(true);

    std::atomic<uint32_t> woke_at{0};
    headless.threads.start_detached([&] {
        headless.clock.sleep_ms(25);
        woke_at = headless.clock.tick_count_ms();
    });
    EXPECT_EQ(headless.threads.running(), 1);
    wait_until([&] { return headless.clock.sleepers() == 1; });

    // The thread that turned blocking on drives time: its own sleep would otherwise
    // wait for itself for ever (a vibration pulse on the window's thread).
    headless.clock.sleep_ms(10);
    EXPECT_EQ(headless.clock.tick_count_ms(), 10u);
    EXPECT_EQ(headless.threads.running(), 1) << "the pulse is not over yet";

    headless.clock.advance(15);
    wait_until([&] { return headless.threads.running() == 0; });
    headless.threads.join_all();
    EXPECT_EQ(woke_at.load(), 25u);
}

}  // namespace
}  // namespace tiltophon
