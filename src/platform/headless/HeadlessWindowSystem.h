// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"
#include "platform/headless/HeadlessClock.h"

namespace tiltophon {

class HeadlessWindowSystem;

// A window without a screen: messages go to the procedure, paints land in an
// in-memory frame that tests can inspect, timers run on the virtual clock.
class HeadlessWindow : public Window {
public:
    HeadlessWindow(HeadlessWindowSystem& system, WindowProc procedure, ScreenInfo screen);

    void post_message(uint32_t message, WParam first, LParam second) override;
    LResult send_message(uint32_t message, WParam first, LParam second) override;
    LResult default_proc(uint32_t message, WParam first, LParam second) override;
    void set_timer(uint32_t id, uint32_t period_ms, TimerRoutine routine) override;
    void kill_timer(uint32_t id) override;
    void invalidate(const Rect* rect, bool erase) override;
    void update() override;
    void present(const Bitmap& frame) override;
    void show(ShowCommand command) override;
    void raise() override { ++raise_count_; }
    void set_full_screen(bool on) override { full_screen_ = on; }
    void set_icon(const Bitmap& icon) override { icon_ = icon; }
    Rect client_rect() const override { return {0, 0, screen_.width, screen_.height}; }
    std::vector<std::u16string> take_dropped_files() override;

    // What a user does at a desktop: drops a file onto the window (the drop message
    // is posted, as the real window posts it), presses and releases a key.
    void drop_file(std::u16string path);
    void press_key(WParam key);
    void release_key(WParam key);

    // What tests look at.
    const Bitmap& presented_frame() const { return presented_; }
    int present_count() const { return present_count_; }
    bool is_invalid() const;
    bool has_timer(uint32_t id) const { return timers_.count(id) != 0; }
    uint32_t timer_period(uint32_t id) const { return timers_.at(id).period_ms; }
    int timers_set_count() const { return timers_set_; }
    ShowCommand last_show() const { return last_show_; }
    bool is_full_screen() const { return full_screen_; }
    const Bitmap& icon() const { return icon_; }
    bool is_destroyed() const { return destroyed_; }
    int raise_count() const { return raise_count_; }

private:
    friend class HeadlessWindowSystem;

    struct Timer {
        uint32_t period_ms = 0;
        TimerRoutine routine = nullptr;
        uint32_t due = 0;  // virtual time of the next tick
    };

    HeadlessWindowSystem& system_;
    WindowProc procedure_;
    ScreenInfo screen_;
    std::map<uint32_t, Timer> timers_;
    mutable std::mutex invalid_mutex_;
    bool invalid_ = false;
    Bitmap presented_;
    Bitmap icon_;
    int present_count_ = 0;
    int timers_set_ = 0;
    int raise_count_ = 0;
    ShowCommand last_show_ = ShowCommand::kNormal;
    bool full_screen_ = false;
    bool destroyed_ = false;
    std::vector<std::u16string> dropped_;
};

// Tests pump the queue and advance virtual time by hand. Everything runs on the
// thread that pumps, as on the real main thread.
class HeadlessWindowSystem : public WindowSystem {
public:
    HeadlessWindowSystem(HeadlessClock& clock, ScreenInfo screen = {});

    ScreenInfo screen() const override { return screen_; }
    bool raise_existing(std::u16string_view class_name, std::u16string_view title) override;
    Window* create_window(std::u16string_view class_name, std::u16string_view title,
                          WindowProc procedure) override;
    bool get_message(Message& message) override;
    void dispatch(const Message& message) override;
    void post_quit(int exit_code) override;
    int32_t query_orientation() override { return orientation_; }
    int32_t supported_orientations() override { return supported_orientations_; }
    bool change_orientation(int32_t orientation) override;

    // Delivers every queued message and then the paint of an invalid window; returns
    // the number of messages delivered (paints included).
    int pump();
    // Moves virtual time forward, firing each timer at its own moment and pumping
    // the queue after every tick.
    void advance(uint32_t ms);

    HeadlessWindow* window() const { return window_.get(); }
    HeadlessClock& clock() { return clock_; }
    bool quit_posted() const { return quit_posted_; }
    int exit_code() const { return exit_code_; }

    // Test set-up: another instance already runs; the display's orientation support.
    void set_other_instance_running(bool running) { other_instance_ = running; }
    void set_orientation_support(int32_t supported, int32_t current) {
        supported_orientations_ = supported;
        orientation_ = current;
    }
    int raise_requests() const { return raise_requests_; }

private:
    friend class HeadlessWindow;
    void enqueue(const Message& message);
    bool take_message(Message& message);
    bool fire_next_timer_until(uint32_t deadline);

    HeadlessClock& clock_;
    ScreenInfo screen_;
    std::unique_ptr<HeadlessWindow> window_;
    std::mutex queue_mutex_;
    std::deque<Message> queue_;
    bool quit_posted_ = false;
    int exit_code_ = 0;
    bool other_instance_ = false;
    int raise_requests_ = 0;
    int32_t supported_orientations_ = -1;
    int32_t orientation_ = -1;
};

}  // namespace tiltophon
