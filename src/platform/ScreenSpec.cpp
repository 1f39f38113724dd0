// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ScreenSpec.h"

#include <charconv>
#include <cmath>

namespace tiltophon {

namespace {

constexpr int32_t kMaxSide = 4096;
constexpr int32_t kMinDpi = 24;
constexpr int32_t kMaxDpi = 1200;
constexpr int32_t kLayoutWidth = 480;
constexpr int32_t kLayoutDpi = 192;
constexpr int32_t kMinLayoutHeight = 640;
constexpr int32_t kMaxLayoutHeight = 1200;
// Displays beyond this are not displays a window can open on.
constexpr int32_t kMaxDisplaySide = 32768;
// A touch display up to this diagonal is a phone's (or a small tablet's held like one);
// beyond it, a laptop's or a desktop's.
constexpr double kMaxPhoneDiagonalInches = 9.0;
constexpr ScreenInfo kHandsetScreen{kLayoutWidth, kMinLayoutHeight, kLayoutDpi, kLayoutDpi};

// A whole decimal number filling `text`, within [low, high].
std::optional<int32_t> number(std::string_view text, int32_t low, int32_t high) {
    int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

bool trustworthy(const DisplayInfo& display) {
    bool sized = display.width > 0 && display.height > 0 && display.width <= kMaxDisplaySide &&
                 display.height <= kMaxDisplaySide;
    // A density the system does not know is no reason for doubt; a made-up one is.
    bool dense = display.dpi == 0 || (display.dpi >= kMinDpi && display.dpi <= kMaxDpi);
    return sized && dense;
}

}  // namespace

std::optional<ScreenInfo> parse_screen_spec(std::string_view text) {
    std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    std::size_t at = text.find('@', x);
    std::string_view height_text =
        text.substr(x + 1, at == std::string_view::npos ? text.npos : at - x - 1);
    std::optional<int32_t> width = number(text.substr(0, x), 1, kMaxSide);
    std::optional<int32_t> height = number(height_text, 1, kMaxSide);
    std::optional<int32_t> dpi = kLayoutDpi;
    if (at != std::string_view::npos) dpi = number(text.substr(at + 1), kMinDpi, kMaxDpi);
    if (!width || !height || !dpi) return std::nullopt;
    return ScreenInfo{*width, *height, *dpi, *dpi};
}

bool is_phone_display(const DisplayInfo& display) {
    if (!trustworthy(display)) return false;
    if (display.height > display.width) return true;
    if (!display.touch || display.dpi <= 0) return false;
    double diagonal = std::hypot(double(display.width), double(display.height)) / display.dpi;
    return diagonal <= kMaxPhoneDiagonalInches;
}

LogicalScreen logical_screen_for(const DisplayInfo& display, ScreenMode mode) {
    bool full =
        mode == ScreenMode::kFullScreen || (mode == ScreenMode::kAuto && is_phone_display(display));
    if (!full) return {kHandsetScreen, false};
    if (!trustworthy(display)) return {kHandsetScreen, true};
    // 480 x height / width, to the nearest pixel.
    int64_t height =
        (int64_t{2} * kLayoutWidth * display.height + display.width) / (int64_t{2} * display.width);
    if (height < kMinLayoutHeight) height = kMinLayoutHeight;
    if (height > kMaxLayoutHeight) height = kMaxLayoutHeight;
    return {{kLayoutWidth, static_cast<int32_t>(height), kLayoutDpi, kLayoutDpi}, true};
}

}  // namespace tiltophon
