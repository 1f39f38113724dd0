// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/headless/HeadlessWindowSystem.h"

#include <utility>

namespace tiltophon {

HeadlessWindow::HeadlessWindow(HeadlessWindowSystem& system, WindowProc procedure,
                               ScreenInfo screen)
    : system_(system), procedure_(procedure), screen_(screen) {}

void HeadlessWindow::post_message(uint32_t message, WParam first, LParam second) {
    system_.enqueue({message, first, second});
}

LResult HeadlessWindow::send_message(uint32_t message, WParam first, LParam second) {
    return procedure_(this, message, first, second);
}

LResult HeadlessWindow::default_proc(uint32_t message, WParam, LParam) {
    if (message == msg::kClose && !destroyed_) {
        destroyed_ = true;
        timers_.clear();
        send_message(msg::kDestroy, 0, 0);
    }
    return 0;
}

void HeadlessWindow::set_timer(uint32_t id, uint32_t period_ms, TimerRoutine routine) {
    timers_[id] = {period_ms, routine, system_.clock().tick_count_ms() + period_ms};
    ++timers_set_;
}

void HeadlessWindow::kill_timer(uint32_t id) { timers_.erase(id); }

void HeadlessWindow::invalidate(const Rect*, bool) {
    std::lock_guard lock(invalid_mutex_);
    invalid_ = true;
}

bool HeadlessWindow::is_invalid() const {
    std::lock_guard lock(invalid_mutex_);
    return invalid_;
}

void HeadlessWindow::update() {
    bool paint;
    {
        std::lock_guard lock(invalid_mutex_);
        paint = invalid_;
        invalid_ = false;
    }
    // A destroyed window is never painted again, as on the real backend.
    if (paint && !destroyed_) send_message(msg::kPaint, 0, 0);
}

void HeadlessWindow::present(const Bitmap& frame) {
    presented_ = frame;
    ++present_count_;
}

void HeadlessWindow::show(ShowCommand command) { last_show_ = command; }

std::vector<std::u16string> HeadlessWindow::take_dropped_files() {
    return std::exchange(dropped_, {});
}

void HeadlessWindow::drop_file(std::u16string path) {
    dropped_.push_back(std::move(path));
    post_message(msg::kDropFiles, 0, 0);
}

void HeadlessWindow::press_key(WParam key) { post_message(msg::kKeyDown, key, 0); }

void HeadlessWindow::release_key(WParam key) { post_message(msg::kKeyUp, key, 0); }

HeadlessWindowSystem::HeadlessWindowSystem(HeadlessClock& clock, ScreenInfo screen)
    : clock_(clock), screen_(screen) {}

bool HeadlessWindowSystem::raise_existing(std::u16string_view, std::u16string_view) {
    if (other_instance_) ++raise_requests_;
    return other_instance_;
}

Window* HeadlessWindowSystem::create_window(std::u16string_view, std::u16string_view,
                                            WindowProc procedure) {
    window_ = std::make_unique<HeadlessWindow>(*this, procedure, screen_);
    window_->send_message(msg::kCreate, 0, 0);
    return window_.get();
}

void HeadlessWindowSystem::enqueue(const Message& message) {
    std::lock_guard lock(queue_mutex_);
    queue_.push_back(message);
}

bool HeadlessWindowSystem::take_message(Message& message) {
    std::lock_guard lock(queue_mutex_);
    if (queue_.empty()) return false;
    message = queue_.front();
    queue_.pop_front();
    return true;
}

bool HeadlessWindowSystem::get_message(Message& message) {
    if (quit_posted_) {
        message = {msg::kQuit, static_cast<WParam>(exit_code_), 0};
        return false;
    }
    if (take_message(message)) return true;
    if (window_ && window_->is_invalid()) {
        message = {msg::kPaint, 0, 0};
        return true;
    }
    // Nothing queued: jump to the next timer, as a real loop would wait for it.
    if (window_ && !window_->timers_.empty()) {
        uint32_t now = clock_.tick_count_ms();
        auto next = window_->timers_.begin();
        for (auto it = next; it != window_->timers_.end(); ++it) {
            if (it->second.due - now < next->second.due - now) next = it;
        }
        uint32_t wait = next->second.due - now;
        if (wait < 0x80000000u) clock_.advance(wait);
        message = {msg::kTimer, next->first, 0};
        return true;
    }
    message = {msg::kQuit, static_cast<WParam>(exit_code_), 0};
    return false;  // nothing can ever happen again
}

void HeadlessWindowSystem::dispatch(const Message& message) {
    if (!window_) return;
    if (message.message == msg::kPaint) {
        window_->update();
        return;
    }
    if (message.message == msg::kTimer) {
        auto it = window_->timers_.find(static_cast<uint32_t>(message.wparam));
        if (it == window_->timers_.end()) return;
        it->second.due = clock_.tick_count_ms() + it->second.period_ms;
        TimerRoutine routine = it->second.routine;
        if (routine) routine(window_.get(), static_cast<uint32_t>(message.wparam));
        return;
    }
    window_->send_message(message.message, message.wparam, message.lparam);
}

void HeadlessWindowSystem::post_quit(int exit_code) {
    quit_posted_ = true;
    exit_code_ = exit_code;
}

bool HeadlessWindowSystem::change_orientation(int32_t orientation) {
    orientation_ = orientation;
    return true;
}

int HeadlessWindowSystem::pump() {
    int delivered = 0;
    Message message;
    while (!quit_posted_ && take_message(message)) {
        dispatch(message);
        ++delivered;
    }
    if (window_ && window_->is_invalid()) {
        window_->update();
        ++delivered;
    }
    return delivered;
}

// Fires the earliest timer due at or before `deadline`; false when none is.
bool HeadlessWindowSystem::fire_next_timer_until(uint32_t deadline) {
    if (!window_ || window_->timers_.empty()) return false;
    uint32_t now = clock_.tick_count_ms();
    uint32_t span = deadline - now;
    // Something that sleeps on the virtual clock (a vibration pulse) may have taken
    // time past the deadline already.
    if (span >= 0x80000000u) return false;
    uint32_t best_wait = span + 1;
    uint32_t best_id = 0;
    for (const auto& [id, timer] : window_->timers_) {
        uint32_t wait = timer.due - now;
        if (wait > 0x80000000u) wait = 0;  // overdue
        if (wait <= span && wait < best_wait) {
            best_wait = wait;
            best_id = id;
        }
    }
    if (best_wait > span) return false;
    clock_.advance(best_wait);
    dispatch({msg::kTimer, best_id, 0});
    return true;
}

void HeadlessWindowSystem::advance(uint32_t ms) {
    uint32_t deadline = clock_.tick_count_ms() + ms;
    pump();
    while (fire_next_timer_until(deadline)) pump();
    uint32_t rest = deadline - clock_.tick_count_ms();
    if (rest < 0x80000000u) clock_.advance(rest);
    pump();
}

}  // namespace tiltophon
