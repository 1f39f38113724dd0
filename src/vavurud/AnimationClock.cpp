// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/AnimationClock.h"

#include <algorithm>

#include "platform/Platform.h"

namespace tiltophon {

namespace {
uint32_t now_ms() { return platform().clock ? platform().clock->tick_count_ms() : 0; }
}  // namespace

AnimationClock& AnimationClock::set_kind(int32_t kind) {
    kind_ = kind;
    return *this;
}

AnimationClock& AnimationClock::set_duration(int32_t duration_ms) {
    duration_ = duration_ms < 0 ? kDefaultDurationMs : duration_ms;
    return *this;
}

void AnimationClock::start(Window* window, uint32_t timer_id, uint32_t period_ms,
                           TimerRoutine callback) {
    if (kind_ == 0 || duration_ <= 0) return;
    if (running_ && window) window->kill_timer(timer_id);
    running_ = true;
    progress_ = 0.0;
    start_tick_ = now_ms();
    if (window) window->set_timer(timer_id, period_ms, callback);
}

void AnimationClock::tick(Window* window, uint32_t timer_id) {
    if (progress_ >= 1.0) {
        running_ = false;
        if (window) window->kill_timer(timer_id);
        return;
    }
    // Unsigned difference: right across the tick counter's wrap.
    double elapsed = static_cast<double>(static_cast<uint32_t>(now_ms() - start_tick_));
    progress_ = std::min(elapsed / duration_, 1.0);
}

}  // namespace tiltophon
