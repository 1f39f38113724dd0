// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <array>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Devices.h"
#include "platform/Process.h"

namespace tiltophon {

// Screen blanking through SDL, which while its screen saver is disabled asks the
// session's screen-saver service (org.freedesktop.ScreenSaver) to hold off, naming
// the program, and lets it go when the screen saver is enabled again. A hold lasts
// until it is released; a reset alone holds off for the given time, after which the
// message loop lets the screen blank again. Main thread only.
class SdlIdleControl : public IdleControl {
public:
    SdlIdleControl();
    ~SdlIdleControl() override;
    SdlIdleControl(const SdlIdleControl&) = delete;
    SdlIdleControl& operator=(const SdlIdleControl&) = delete;

    void hold(bool on) override;
    void reset_idle(uint32_t hold_ms) override;
    // Ends a reset's hold that has run out; milliseconds until the current one does,
    // or -1 when none is timed.
    int32_t expire(uint32_t now);

private:
    // The next tick comes when a reset's hold ends; the slack keeps the screen from
    // blanking in between.
    static constexpr uint32_t kSlackMs = 5000;

    // Disables or enables SDL's screen saver to match the holds.
    void apply();

    bool held_ = false;
    bool timed_ = false;
    uint32_t until_ = 0;
    bool inhibited_ = false;
};

// Short routines run on a few threads started up front, so that a swing's playback
// routine starts without a thread being made (and without allocating: routines that
// capture little are moved into a fixed queue). When every pooled thread is busy (a
// pulse, the loader), a new detached thread runs the routine instead, so no routine
// ever waits for another.
class SdlThreadRunner : public ThreadRunner {
public:
    explicit SdlThreadRunner(int pooled_threads = 2);
    ~SdlThreadRunner() override;
    SdlThreadRunner(const SdlThreadRunner&) = delete;
    SdlThreadRunner& operator=(const SdlThreadRunner&) = delete;

    void start_detached(std::function<void()> routine) override;
    // Always a thread of its own at the ordinary priority, never a pooled one.
    void start_background(std::function<void()> routine) override;

    // Pooled threads waiting for a routine.
    int idle_threads() {
        std::lock_guard lock(mutex_);
        return idle_;
    }

private:
    void pooled_thread();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable started_;
    std::array<std::function<void()>, 8> queue_;
    std::size_t head_ = 0;
    std::size_t queued_ = 0;
    int idle_ = 0;
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace tiltophon
