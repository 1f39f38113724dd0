// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Window.h"

namespace tiltophon {

struct ScreenInfo {
    int32_t width = 480;
    int32_t height = 640;
    int32_t dpi_x = 192;
    int32_t dpi_y = 192;
};

// Windows, the message loop and the display.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual ScreenInfo screen() const = 0;

    // Single instance: when a window of this class and title already runs (in this
    // or another process), asks it to come to the front and returns true.
    virtual bool raise_existing(std::u16string_view class_name, std::u16string_view title) = 0;

    // Creates the window; its procedure receives the create message before this
    // returns. Null when the window cannot be made.
    virtual Window* create_window(std::u16string_view class_name, std::u16string_view title,
                                  WindowProc procedure) = 0;

    // Waits for the next message of the main thread; false when it is the quit
    // message, whose exit code is then in `message.wparam`.
    virtual bool get_message(Message& message) = 0;
    // Hands a message to its window procedure (or its timer routine).
    virtual void dispatch(const Message& message) = 0;
    // Ends the message loop with an exit code once the queue reaches it.
    virtual void post_quit(int exit_code) = 0;

    // Display orientation: -1 when the system cannot answer (desktop windows).
    virtual int32_t query_orientation() = 0;
    virtual int32_t supported_orientations() = 0;
    virtual bool change_orientation(int32_t orientation) = 0;
};

}  // namespace tiltophon
