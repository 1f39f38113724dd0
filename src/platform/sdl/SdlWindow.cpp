// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlWindow.h"

#include <algorithm>

#include "platform/sdl/SdlWindowSystem.h"

namespace tiltophon {

namespace {

// Pen positions travel as 16-bit values; the presenter has clamped them to the frame,
// so a drag past an edge stays on that edge.
LParam point_param(Point point) {
    return make_point_param(static_cast<uint16_t>(point.x), static_cast<uint16_t>(point.y));
}

SDL_Renderer* make_renderer(SDL_Window* window) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    return renderer;
}

}  // namespace

SdlWindow::SdlWindow(SdlWindowSystem& system, SDL_Window* window, WindowProc procedure,
                     ScreenInfo screen, bool device_display)
    : system_(system),
      window_(window),
      procedure_(procedure),
      screen_(screen),
      device_display_(device_display) {
    presenter_ = std::make_unique<SdlFramePresenter>(window_, make_renderer(window_), screen.width,
                                                     screen.height);
}

SdlWindow::~SdlWindow() {
    presenter_.reset();
    SDL_DestroyWindow(window_);
}

void SdlWindow::post_message(uint32_t message, WParam first, LParam second) {
    {
        std::lock_guard lock(posted_mutex_);
        posted_.push_back({message, first, second});
    }
    system_.wake();
}

LResult SdlWindow::send_message(uint32_t message, WParam first, LParam second) {
    return procedure_(this, message, first, second);
}

LResult SdlWindow::default_proc(uint32_t message, WParam, LParam) {
    if (message == msg::kClose && !destroyed_) {
        destroyed_ = true;
        timers_.clear();
        SDL_HideWindow(window_);
        send_message(msg::kDestroy, 0, 0);
    }
    return 0;
}

void SdlWindow::set_timer(uint32_t id, uint32_t period_ms, TimerRoutine routine) {
    timers_[id] = {period_ms, routine, SDL_GetTicks() + period_ms};
}

void SdlWindow::kill_timer(uint32_t id) {
    timers_.erase(id);
}

void SdlWindow::invalidate(const Rect*, bool) {
    if (!invalid_.exchange(true)) system_.wake();
}

void SdlWindow::update() {
    if (invalid_.exchange(false) && !destroyed_) send_message(msg::kPaint, 0, 0);
}

void SdlWindow::present(const Bitmap& frame) {
    follow_display_orientation();
    presenter_->present(frame);
}

void SdlWindow::follow_display_orientation() {
    // A desktop's monitor may stand turned because it is mounted so; only a phone's
    // display is turned by its shell as the hand tilts it.
    if (!device_display_) return;
    presenter_->set_quarter_turns(system_.display_turns(SDL_GetWindowDisplayIndex(window_)));
}

void SdlWindow::show(ShowCommand command) {
    switch (command) {
        case ShowCommand::kHide:
            SDL_HideWindow(window_);
            break;
        case ShowCommand::kMinimize:
            SDL_MinimizeWindow(window_);
            break;
        case ShowCommand::kNormal:
            SDL_ShowWindow(window_);
            SDL_RestoreWindow(window_);
            break;
    }
}

std::vector<std::u16string> SdlWindow::take_dropped_files() {
    return std::exchange(dropped_, {});
}

void SdlWindow::raise() {
    SDL_ShowWindow(window_);
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlWindow::set_full_screen(bool on) {
    // A desktop window stays as it is; only the device's own display goes full screen.
    if (!device_display_) return;
    SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void SdlWindow::set_icon(const Bitmap& icon) {
    if (icon.width() <= 0 || icon.height() <= 0) return;
    // SDL copies the picture; the surface only lends it the pixels.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(icon.data()), icon.width(), icon.height(), 32, icon.width() * 4,
        SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

bool SdlWindow::take_posted(Message& message) {
    std::lock_guard lock(posted_mutex_);
    if (posted_.empty()) return false;
    message = posted_.front();
    posted_.pop_front();
    return true;
}

bool SdlWindow::take_due_timer(uint32_t now, Message& message) {
    for (const auto& [id, timer] : timers_) {
        // Unsigned difference: due when the deadline is not in the future.
        if (static_cast<int32_t>(now - timer.due) >= 0) {
            message = {msg::kTimer, id, 0};
            return true;
        }
    }
    return false;
}

int32_t SdlWindow::wait_for_timers(uint32_t now) const {
    int32_t wait = -1;
    for (const auto& [id, timer] : timers_) {
        int32_t until = std::max(static_cast<int32_t>(timer.due - now), 0);
        if (wait < 0 || until < wait) wait = until;
    }
    return wait;
}

void SdlWindow::run_timer(uint32_t id, uint32_t now) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second.due = now + it->second.period_ms;
    TimerRoutine routine = it->second.routine;
    if (routine) routine(this, id);
}

LParam SdlWindow::pen_param(int32_t window_x, int32_t window_y) {
    follow_display_orientation();
    return point_param(presenter_->frame_point_from_window(window_x, window_y));
}

LParam SdlWindow::touch_param(float x, float y) {
    follow_display_orientation();
    return point_param(presenter_->frame_point_from_touch(x, y));
}

}  // namespace tiltophon
