// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/Window.h"
#include "platform/WindowSystem.h"
#include "platform/sdl/SdlFramePresenter.h"

namespace tiltophon {

class SdlWindowSystem;

// The program's window as an SDL window. The program draws in screen pixels; the
// presenter shows each frame as large as the window allows without distorting it,
// turned upright on a phone whose shell turned the display, and takes pen positions
// back to screen pixels, so a resized or turned window still works.
class SdlWindow : public Window {
public:
    SdlWindow(SdlWindowSystem& system, SDL_Window* window, WindowProc procedure, ScreenInfo screen,
              bool device_display);
    ~SdlWindow() override;

    void post_message(uint32_t message, WParam first, LParam second) override;
    LResult send_message(uint32_t message, WParam first, LParam second) override;
    LResult default_proc(uint32_t message, WParam first, LParam second) override;
    void set_timer(uint32_t id, uint32_t period_ms, TimerRoutine routine) override;
    void kill_timer(uint32_t id) override;
    void invalidate(const Rect* rect, bool erase) override;
    void update() override;
    void present(const Bitmap& frame) override;
    void show(ShowCommand command) override;
    void raise() override;
    void set_full_screen(bool on) override;
    void set_icon(const Bitmap& icon) override;
    Rect client_rect() const override { return {0, 0, screen_.width, screen_.height}; }
    std::vector<std::u16string> take_dropped_files() override;

    bool is_destroyed() const { return destroyed_; }
    Uint32 sdl_id() const { return SDL_GetWindowID(window_); }

private:
    friend class SdlWindowSystem;

    struct Timer {
        uint32_t period_ms = 0;
        TimerRoutine routine = nullptr;
        uint32_t due = 0;
    };

    // The message loop's side, all on the main thread.
    bool take_posted(Message& message);
    bool take_due_timer(uint32_t now, Message& message);
    // Milliseconds until the next timer is due; -1 when there is none.
    int32_t wait_for_timers(uint32_t now) const;
    bool is_invalid() const { return invalid_.load(); }
    void run_timer(uint32_t id, uint32_t now);
    // A window position in screen pixels, as the pen messages carry it; outside the
    // frame, its nearest edge.
    // Pen positions follow the frame's turn (see follow_display_orientation).
    LParam pen_param(int32_t window_x, int32_t window_y);
    LParam touch_param(float x, float y);
    // Turns the presented frame against the display's rotation, so the pages keep the
    // panel's natural orientation while the shell turns the display.
    void follow_display_orientation();
    void add_dropped_file(std::u16string path) { dropped_.push_back(std::move(path)); }

    SdlWindowSystem& system_;
    SDL_Window* window_;
    std::unique_ptr<SdlFramePresenter> presenter_;
    WindowProc procedure_;
    ScreenInfo screen_;
    bool device_display_;
    bool destroyed_ = false;
    std::map<uint32_t, Timer> timers_;
    std::mutex posted_mutex_;
    std::deque<Message> posted_;
    std::atomic<bool> invalid_{true};
    std::vector<std::u16string> dropped_;
};

}  // namespace tiltophon
