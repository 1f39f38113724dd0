// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The SDL message loop's own paths on SDL's dummy video driver, without any
// display server: window timers, a loop woken from another thread, screen blanking,
// and a later start raising the running window. Timers run on real time, so each
// test waits for what it expects in short real waits and judges only the order.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "motion/TempFolder.h"
#include "platform/posix/PosixSingleInstance.h"
#include "platform/sdl/SdlDevices.h"
#include "platform/sdl/SdlWindowSystem.h"
#include "support/ScopedEnv.h"

namespace tiltophon {
namespace {

using namespace std::chrono_literals;

struct TimerCall {
    Window* window;
    uint32_t id;
};
std::vector<TimerCall> g_timer_calls;

void record_timer(Window* window, uint32_t id) {
    g_timer_calls.push_back({window, id});
}

LResult plain_proc(Window* window, uint32_t message, WParam first, LParam second) {
    return window->default_proc(message, first, second);
}

class SdlLoopThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_timer_calls.clear();
        ScopedEnv screen("TILTOPHON_SCREEN", "240x320@96");
        system = std::make_unique<SdlWindowSystem>();
        ASSERT_TRUE(system->ok()) << SDL_GetError();
    }
    void TearDown() override { system.reset(); }

    void make_window() {
        window = static_cast<SdlWindow*>(system->create_window(u"C", u"Tiltophon", plain_proc));
        ASSERT_NE(window, nullptr);
        Message first = next();
        ASSERT_EQ(first.message, msg::kPaint);
        system->dispatch(first);
    }

    Message next() {
        Message message;
        EXPECT_TRUE(system->get_message(message));
        return message;
    }

    Uint32 window_flags() const { return SDL_GetWindowFlags(SDL_GetWindowFromID(window->sdl_id())); }

    TempFolder runtime;
    ScopedEnv video{"SDL_VIDEODRIVER", "dummy"};
    ScopedEnv runtime_folder{"XDG_RUNTIME_DIR", runtime.path().c_str()};
    std::unique_ptr<SdlWindowSystem> system;
    SdlWindow* window = nullptr;
};

TEST_F(SdlLoopThreadsTest, TimersTickOnTheLoopInTheOrderTheyFallDueUntilKilled) {
    make_window();
    window->set_timer(7, 5, record_timer);
    window->set_timer(8, 40, record_timer);

    // The 5 ms timer comes due first, and again after each run.
    for (int round = 0; round < 2; ++round) {
        Message tick = next();
        ASSERT_EQ(tick.message, msg::kTimer);
        ASSERT_EQ(tick.wparam, 7u);
        system->dispatch(tick);
    }
    ASSERT_EQ(g_timer_calls.size(), 2u);
    EXPECT_EQ(g_timer_calls[0].window, window);
    EXPECT_EQ(g_timer_calls[1].id, 7u);

    // Killed, it never comes again, though it would be due long before timer 8.
    window->kill_timer(7);
    Message tick = next();
    EXPECT_EQ(tick.message, msg::kTimer);
    EXPECT_EQ(tick.wparam, 8u);
    system->dispatch(tick);
    EXPECT_EQ(g_timer_calls.back().id, 8u);

    // A timer set again replaces the old one, with its new period.
    window->set_timer(8, 1, record_timer);
    tick = next();
    EXPECT_EQ(tick.wparam, 8u);
    window->kill_timer(8);
}

TEST_F(SdlLoopThreadsTest, AMessagePostedFromAnotherThreadWakesAWaitingLoop) {
    make_window();
    // Nothing is due, so the loop waits for SDL events until the post wakes it.
    std::thread poster([this] {
        std::this_thread::sleep_for(50ms);
        window->post_message(msg::kApp + 3, 42, 7);
    });
    Message posted = next();
    poster.join();
    EXPECT_EQ(posted.message, msg::kApp + 3);
    EXPECT_EQ(posted.wparam, 42u);
    EXPECT_EQ(posted.lparam, 7);
}

TEST_F(SdlLoopThreadsTest, TheIdleControlHoldsTheScreenSaverOffAndLetsItGo) {
    ASSERT_TRUE(SDL_IsScreenSaverEnabled()) << "the screen should blank as usual";
    {
        SdlIdleControl idle;
        system->set_idle_control(&idle);
        idle.hold(true);
        EXPECT_FALSE(SDL_IsScreenSaverEnabled());
        idle.reset_idle(1000);  // held already: nothing runs out
        EXPECT_EQ(idle.expire(SDL_GetTicks() + 100000), -1);
        EXPECT_FALSE(SDL_IsScreenSaverEnabled());
        idle.hold(false);
        EXPECT_TRUE(SDL_IsScreenSaverEnabled());

        // A reset alone holds it off for its time and the slack, then lets it go.
        idle.reset_idle(1000);
        EXPECT_FALSE(SDL_IsScreenSaverEnabled());
        uint32_t now = SDL_GetTicks();
        EXPECT_GT(idle.expire(now), 1000);
        EXPECT_FALSE(SDL_IsScreenSaverEnabled());
        EXPECT_EQ(idle.expire(now + 60000), -1);
        EXPECT_TRUE(SDL_IsScreenSaverEnabled());

        // Letting go ends a reset's hold at once too.
        idle.reset_idle(1000);
        idle.hold(false);
        EXPECT_TRUE(SDL_IsScreenSaverEnabled());

        // A hold still on when the control goes ends with it.
        idle.hold(true);
        system->set_idle_control(nullptr);
    }
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
}

TEST_F(SdlLoopThreadsTest, ALaterStartRaisesTheRunningWindow) {
    ASSERT_FALSE(system->raise_existing(u"C", u"Tiltophon")) << "no copy runs yet";
    make_window();
    window->show(ShowCommand::kHide);
    ASSERT_FALSE(window_flags() & SDL_WINDOW_SHOWN);

    PosixSingleInstance later(runtime.path().string(), "tiltophon");
    EXPECT_TRUE(later.signal_existing_or_listen(nullptr));

    // The request reaches the loop from the listener's thread; a short timer keeps
    // the loop turning until the window is shown.
    window->set_timer(3, 10, record_timer);
    auto give_up = std::chrono::steady_clock::now() + 10s;
    while (!(window_flags() & SDL_WINDOW_SHOWN) && std::chrono::steady_clock::now() < give_up) {
        system->dispatch(next());
    }
    EXPECT_TRUE(window_flags() & SDL_WINDOW_SHOWN) << "the running window was not raised";
    window->kill_timer(3);
}

}  // namespace
}  // namespace tiltophon
