// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

#include "platform/Window.h"

namespace tiltophon {

// The key by which a second start finds the running program.
constexpr std::u16string_view kWindowClass = u"TiltophonClass";
constexpr std::u16string_view kWindowTitle = u"Tiltophon";

// Creates the window, its buffers and the loader. 1 when the program runs, 0 when
// it must end (another instance runs, or the window cannot be made).
int init_instance(ShowCommand show);

// The exit code when the window could not be made (the window system says why).
constexpr int kExitNoWindow = 1;

// The whole program on the installed platform: returns the exit code, 0 when it was
// closed or another copy runs.
int run_program();

}  // namespace tiltophon
