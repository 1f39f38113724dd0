// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace tiltophon {

// Turns time into a progress from 0.0 to 1.0 for one running animation, driven by a
// window timer. The kind is the caller's tag; 0 means none.
class AnimationClock {
public:
    static constexpr int32_t kDefaultDurationMs = 400;

    AnimationClock& set_kind(int32_t kind);
    int32_t kind() const { return kind_; }
    // A negative duration sets the default; 0 is stored and keeps `start` from running.
    AnimationClock& set_duration(int32_t duration_ms);
    int32_t duration() const { return duration_; }

    void start(Window* window, uint32_t timer_id, uint32_t period_ms, TimerRoutine callback);
    // Advances the progress; the tick after the one that reached 1.0 stops the clock.
    void tick(Window* window, uint32_t timer_id);

    bool is_running() const { return running_; }
    double progress() const { return progress_; }

private:
    int32_t kind_ = 0;
    bool running_ = false;
    uint32_t start_tick_ = 0;
    double progress_ = 0.0;
    int32_t duration_ = kDefaultDurationMs;
};

}  // namespace tiltophon
