// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "platform/Messages.h"

namespace tiltophon {

class Window;

// The program's window procedure: every message of the window goes through it.
using WindowProc = LResult (*)(Window* window, uint32_t message, WParam first, LParam second);

// A window timer's routine; it runs on the main thread from the message loop.
using TimerRoutine = void (*)(Window* window, uint32_t timer_id);

enum class ShowCommand { kHide = 0, kNormal = 1, kMinimize = 6 };

// The program's one window. Unless a method says otherwise it is called on the
// main thread, the thread that runs the message loop.
class Window {
public:
    virtual ~Window() = default;

    // Queues a message for the window procedure. Safe from any thread.
    virtual void post_message(uint32_t message, WParam first, LParam second) = 0;
    // Calls the window procedure at once, on the calling thread, and returns its result.
    virtual LResult send_message(uint32_t message, WParam first, LParam second) = 0;
    // What the system does with a message the program does not handle: close
    // destroys the window; everything else is ignored with result 0.
    virtual LResult default_proc(uint32_t message, WParam first, LParam second) = 0;

    // Creates or replaces timer `id`; its routine runs every `period_ms`.
    virtual void set_timer(uint32_t id, uint32_t period_ms, TimerRoutine routine) = 0;
    virtual void kill_timer(uint32_t id) = 0;

    // Marks a part of the window (all of it when `rect` is null) for repainting; the
    // paint message follows once the queue is empty. Safe from any thread.
    virtual void invalidate(const Rect* rect, bool erase) = 0;
    // Delivers the paint message now when part of the window is invalid.
    virtual void update() = 0;
    // Shows the finished frame; called once per paint.
    virtual void present(const Bitmap& frame) = 0;

    virtual void show(ShowCommand command) = 0;
    // Brings the window to the front of the others (a second start asks for this).
    virtual void raise() = 0;
    // The picture the desktop shows for the window (title bar, task list, dock). The
    // window keeps its own copy. Nothing where the system shows no such picture.
    virtual void set_icon(const Bitmap& icon) { (void)icon; }
    // Full screen where the display is the device's own; nothing on a desktop window.
    virtual void set_full_screen(bool on) = 0;
    virtual Rect client_rect() const = 0;

    // The paths of the files dropped onto the window since the last call, in the
    // order they came; the drop message announces them. Windows that cannot take
    // drops have none.
    virtual std::vector<std::u16string> take_dropped_files() { return {}; }
};

}  // namespace tiltophon
