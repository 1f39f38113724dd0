// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlDevices.h"

#include <thread>

namespace tiltophon {

SdlIdleControl::SdlIdleControl() {
    // What the session's screen-saver service lists as holding the screen on.
    SDL_SetHint(SDL_HINT_APP_NAME, "Tiltophon");
    SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, "Tiltophon: motion detection is on");
}

SdlIdleControl::~SdlIdleControl() {
    held_ = false;
    timed_ = false;
    apply();
}

void SdlIdleControl::hold(bool on) {
    held_ = on;
    // Letting go ends a reset's hold too, so the screen may blank at once.
    timed_ = false;
    apply();
}

void SdlIdleControl::reset_idle(uint32_t hold_ms) {
    if (held_) return;
    timed_ = true;
    until_ = SDL_GetTicks() + hold_ms + kSlackMs;
    apply();
}

int32_t SdlIdleControl::expire(uint32_t now) {
    if (!timed_) return -1;
    int32_t left = static_cast<int32_t>(until_ - now);
    if (left > 0) return left;
    timed_ = false;
    apply();
    return -1;
}

void SdlIdleControl::apply() {
    bool wanted = held_ || timed_;
    if (wanted == inhibited_) return;
    inhibited_ = wanted;
    if (wanted) {
        SDL_DisableScreenSaver();
    } else {
        SDL_EnableScreenSaver();
    }
}

SdlThreadRunner::SdlThreadRunner(int pooled_threads) {
    for (int i = 0; i < pooled_threads; ++i) {
        threads_.emplace_back(&SdlThreadRunner::pooled_thread, this);
    }
    // Ready before the first routine comes, so that it never needs a thread of its own.
    std::unique_lock lock(mutex_);
    started_.wait(lock, [&] { return idle_ == pooled_threads; });
}

SdlThreadRunner::~SdlThreadRunner() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void SdlThreadRunner::start_detached(std::function<void()> routine) {
    {
        std::lock_guard lock(mutex_);
        if (idle_ > int(queued_) && queued_ < queue_.size()) {
            queue_[(head_ + queued_) % queue_.size()] = std::move(routine);
            ++queued_;
            routine = nullptr;
        }
    }
    if (routine) {
        std::thread(std::move(routine)).detach();
    } else {
        wake_.notify_one();
    }
}

void SdlThreadRunner::start_background(std::function<void()> routine) {
    std::thread(std::move(routine)).detach();
}

void SdlThreadRunner::pooled_thread() {
    // A swing's sound should not wait behind a busy desktop's other work. SDL asks the
    // system for it (a lower nice value, or the desktop's realtime service); where
    // neither is allowed, the thread keeps the ordinary priority.
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        started_.notify_all();
        wake_.wait(lock, [&] { return stop_ || queued_ > 0; });
        --idle_;
        if (queued_ == 0) break;  // stopping, with nothing left to run
        std::function<void()> routine = std::move(queue_[head_]);
        queue_[head_] = nullptr;
        head_ = (head_ + 1) % queue_.size();
        --queued_;
        lock.unlock();
        routine();
        routine = nullptr;
        lock.lock();
    }
    lock.unlock();
    // SDL keeps error texts per thread; a thread it did not start must release them.
    SDL_TLSCleanup();
}

}  // namespace tiltophon
