// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>

namespace tiltophon::sensor {

// Milliseconds that never go back. The sources take the system's monotonic clock;
// tests hand them one they move by hand.
using MonotonicClock = std::function<int64_t()>;

inline int64_t steady_clock_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// `clock`, or the system's monotonic clock when none is given.
inline MonotonicClock clock_or_steady(MonotonicClock clock) {
    return clock ? std::move(clock) : MonotonicClock(steady_clock_ms);
}

}  // namespace tiltophon::sensor
