// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string_view>

#include "platform/WindowSystem.h"

namespace tiltophon {

// A screen given as "WIDTHxHEIGHT@DPI" (as in 480x640@192), or "WIDTHxHEIGHT" for
// the default 192 dpi. Nothing for text that is not one, or for sizes no screen has.
std::optional<ScreenInfo> parse_screen_spec(std::string_view text);

}  // namespace tiltophon
