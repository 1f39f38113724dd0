// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/headless/HeadlessClock.h"

namespace tiltophon {

void HeadlessClock::set_blocking_sleeps(bool blocking) {
    {
        // Under the lock, so that a sleeper between its check and its wait is woken.
        std::lock_guard lock(mutex_);
        driver_.store(std::this_thread::get_id());
        blocking_.store(blocking);
    }
    changed_.notify_all();
}

void HeadlessClock::sleep_ms(uint32_t ms) {
    if (!blocking_.load() || driver_.load() == std::this_thread::get_id()) {
        advance(ms);
        return;
    }
    std::unique_lock lock(mutex_);
    uint32_t start = now_.load();
    ++sleepers_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return now_.load() - start >= ms || !blocking_.load(); });
    --sleepers_;
}

void HeadlessClock::advance(uint32_t ms) {
    {
        std::lock_guard lock(mutex_);
        now_.fetch_add(ms, std::memory_order_acq_rel);
    }
    changed_.notify_all();
}

void HeadlessClock::set(uint32_t now) {
    {
        std::lock_guard lock(mutex_);
        now_.store(now, std::memory_order_release);
    }
    changed_.notify_all();
}

}  // namespace tiltophon
