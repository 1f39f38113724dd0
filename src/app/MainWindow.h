// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Messages.h"
#include "platform/Window.h"

namespace tiltophon {

// The opacity of the splash screen over the frame: fully opaque.
constexpr uint8_t kSplashOpacity = 255;

// The window timer of the keep-awake timer.
constexpr uint32_t kKeepAwakeTimerId = 6;

// The main window's procedure: every message of the program's window.
LResult window_proc(Window* window, uint32_t message, WParam first, LParam second);

// The three off-screen buffers, each of the screen's size.
void create_buffers(Window* window);
void free_buffers();

// Full screen where the display is the device's own. Returns 1.
int set_full_screen(Window* window, bool on);
// The display's orientation, or -1 when the system cannot tell.
int32_t query_orientation();
// 1 when the display was turned to `target`; 0 when nothing changed (unsupported,
// unknown, already there, or a negative target).
int set_orientation(int32_t target);
// The orientation read at the last activation; -1 until then.
int32_t saved_orientation();

}  // namespace tiltophon
