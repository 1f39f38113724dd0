// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/ScreenSpec.h"
#include "platform/WindowSystem.h"
#include "platform/posix/PosixSingleInstance.h"
#include "platform/posix/QuitSignals.h"
#include "platform/sdl/DisplayTurns.h"
#include "platform/sdl/SdlWindow.h"

namespace tiltophon {

class SdlIdleControl;

// Windows and the message loop on SDL. The loop turns SDL events into the
// program's messages: focus into activate, expose into paint, the close button and
// SIGINT/SIGTERM (through QuitSignals, as SDL's quit event) into close, the left mouse
// button and the first finger into pen messages. Posted messages, timers and
// paints are delivered on the main thread, in that order of priority after input.
class SdlWindowSystem : public WindowSystem {
public:
    // `mode` is the user's choice of full screen or window, if any.
    explicit SdlWindowSystem(ScreenMode mode = ScreenMode::kAuto);
    ~SdlWindowSystem() override;
    SdlWindowSystem(const SdlWindowSystem&) = delete;
    SdlWindowSystem& operator=(const SdlWindowSystem&) = delete;

    // False when SDL's video could not start; no window can then be made.
    bool ok() const { return ok_; }
    // Why no one would see the window, or empty when a display is there. Without a
    // display SDL falls back to a video driver that shows nothing; only an explicit
    // SDL_VIDEODRIVER (tests, tools) may choose one of those.
    std::string display_problem() const;
    // True when `driver` shows nothing on any screen and `requested`, the value of
    // SDL_VIDEODRIVER (a comma-separated list, or null), does not name it.
    static bool invisible_driver_unasked(std::string_view driver, const char* requested);

    ScreenInfo screen() const override { return screen_; }
    bool raise_existing(std::u16string_view class_name, std::u16string_view title) override;
    Window* create_window(std::u16string_view class_name, std::u16string_view title,
                          WindowProc procedure) override;
    bool get_message(Message& message) override;
    void dispatch(const Message& message) override;
    void post_quit(int exit_code) override;
    // Desktops and the phones SDL knows cannot turn their display on request.
    int32_t query_orientation() override { return -1; }
    int32_t supported_orientations() override { return -1; }
    bool change_orientation(int32_t) override { return false; }

    // The loop lets the idle control's hold run out in time.
    void set_idle_control(SdlIdleControl* idle) { idle_ = idle; }
    // Wakes the loop; safe from any thread.
    void wake(int32_t code = 0);
    // The quarter turns that show the frame upright on display `display_index`.
    int32_t display_turns(int display_index) { return turns_ ? turns_->turns(display_index) : 0; }

private:
    enum WakeCode : int32_t { kWakeOnly = 0, kWakeRaise = 1 };

    // The message an SDL event stands for; false when it stands for none.
    bool translate(const SDL_Event& event, Message& message);
    bool translate_pen(uint32_t kind, LParam point, Message& message);
    // A digit key pressed or released (repeats left out); other keys give nothing.
    bool translate_key(const SDL_KeyboardEvent& key, Message& message);
    // A file dropped onto the window: its path is kept for the window procedure.
    bool translate_drop(const SDL_DropEvent& drop, Message& message);
    // Says on stderr why no window came, lets the single-instance lock go, and gives null.
    Window* refuse_window(const char* problem);
    // SDL's quit event, as SIGINT or SIGTERM asks for it.
    static void post_sdl_quit();

    bool ok_ = false;
    std::unique_ptr<DisplayTurns> turns_;
    bool device_display_ = false;
    // The handset's screen until the display says otherwise.
    ScreenInfo screen_{480, 640, 192, 192};
    Uint32 wake_event_ = static_cast<Uint32>(-1);
    std::unique_ptr<SdlWindow> window_;
    std::unique_ptr<PosixSingleInstance> instance_;
    // Whether SDL's event queue is there for the signal thread to post its quit to.
    std::mutex signal_mutex_;
    bool events_ready_ = false;
    bool quit_signalled_ = false;
    std::unique_ptr<QuitSignals> quit_signals_;
    SdlIdleControl* idle_ = nullptr;
    bool quit_ = false;
    int exit_code_ = 0;
    bool mouse_down_ = false;
    bool finger_down_ = false;
    SDL_FingerID finger_ = 0;
};

}  // namespace tiltophon
