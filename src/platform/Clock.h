// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tiltophon {

// Time as the program sees it. Every wait of the program goes through here so that
// tests can run it on virtual time.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps around after 2^32.
    virtual uint32_t tick_count_ms() = 0;
    // Blocks the calling thread for `ms` milliseconds.
    virtual void sleep_ms(uint32_t ms) = 0;
};

}  // namespace tiltophon
