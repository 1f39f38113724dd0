// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string_view>

#include "platform/WindowSystem.h"

namespace tiltophon {

// A screen given as "WIDTHxHEIGHT@DPI" (as in 480x640@192), or "WIDTHxHEIGHT" for
// the default 192 dpi. Nothing for text that is not one, for sides outside 1 to 4096
// pixels or a density outside 24 to 1200 dpi.
std::optional<ScreenInfo> parse_screen_spec(std::string_view text);

// What the system says of the display the window opens on. Zero stands for what it
// cannot tell.
// The size is the panel's natural one, before any rotation the shell applies.
struct DisplayInfo {
    int32_t width = 0;   // pixels
    int32_t height = 0;  // pixels
    int32_t dpi = 0;
    bool touch = false;  // a touch screen is present
};

// Whether the window fills the display: chosen by the display, or by the user's
// --fullscreen or --window.
enum class ScreenMode { kAuto, kFullScreen, kWindow };

// The screen the pages are laid out on, and whether the window fills the display.
struct LogicalScreen {
    ScreenInfo screen;
    bool device_display = false;
};

// The pages are always laid out 480 pixels wide at 192 dpi, the only density at which
// their device-pixel lengths are right. A desktop gets a 480 x 640 window. A phone (a
// portrait display, or a touch display of at most 9 inches diagonal) gets the whole
// display, and the logical screen is as tall as the display's aspect makes it, between
// 640 (shorter, and the Settings page and the sound rows no longer fit between the
// bars) and 1200 (taller than any phone's 21:9; beyond it the frame is shown with
// black bands above and below). A display with no size, an absurd size or an absurd
// density is not trusted: the handset's 480 x 640 window, unless --fullscreen asks
// for the display all the same.
LogicalScreen logical_screen_for(const DisplayInfo& display, ScreenMode mode = ScreenMode::kAuto);

// A phone's display: one that stands portrait, or a touch display whose diagonal,
// from its size and density, is at most 9 inches. Without a density a landscape
// display is not a phone's.
bool is_phone_display(const DisplayInfo& display);

}  // namespace tiltophon
