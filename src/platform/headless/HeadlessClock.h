// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/Clock.h"

namespace tiltophon {

// Virtual time for tests. By default a sleep moves time forward by itself, so code
// that waits runs at once and deterministically. In blocking mode a sleep on any other
// thread waits until the test has advanced the clock past its end, which lets a test
// watch a thread that waits (the loader, a vibration pulse) from the outside; the
// thread that turned blocking on drives time, so its own sleeps still move it forward.
class HeadlessClock : public Clock {
public:
    uint32_t tick_count_ms() override { return now_.load(std::memory_order_acquire); }
    void sleep_ms(uint32_t ms) override;

    void advance(uint32_t ms);
    void set(uint32_t now);
    void set_blocking_sleeps(bool blocking);
    // Number of threads currently waiting in a blocking sleep.
    int sleepers() const { return sleepers_.load(); }

private:
    std::atomic<uint32_t> now_{0};
    std::atomic<bool> blocking_{false};
    std::atomic<std::thread::id> driver_{};
    std::atomic<int> sleepers_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace tiltophon
