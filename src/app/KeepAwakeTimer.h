// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace tiltophon {

// Keeps the system awake while motion detection runs: a window timer at 90% of the
// shortest power-off timeout restarts the system's idle countdown at every tick, and
// the platform holds the system awake from start to stop.
class KeepAwakeTimer {
public:
    KeepAwakeTimer(Window* window, uint32_t timer_id, TimerRoutine tick_routine);

    // Computes the interval and creates the timer; nothing when already running.
    void start();
    void stop();
    void on_tick();
    // 900 times the smallest positive power-off timeout in seconds, at most 1000 s.
    uint32_t power_off_interval() const;

    bool is_running() const { return running_; }
    uint32_t interval_ms() const { return interval_ms_; }

private:
    Window* window_;
    uint32_t timer_id_;
    uint32_t interval_ms_ = 0;
    TimerRoutine tick_routine_;
    bool running_ = false;
};

// The routine of the keep-awake window timer.
void keep_awake_tick(Window* window, uint32_t timer_id);

}  // namespace tiltophon
