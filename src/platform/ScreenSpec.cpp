// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ScreenSpec.h"

#include <charconv>

namespace tiltophon {

namespace {

constexpr int32_t kMaxSide = 8192;
constexpr int32_t kMinDpi = 24;
constexpr int32_t kMaxDpi = 1200;
constexpr int32_t kDefaultDpi = 192;

// A whole decimal number filling `text`, within [low, high].
std::optional<int32_t> number(std::string_view text, int32_t low, int32_t high) {
    int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
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
    std::optional<int32_t> dpi = kDefaultDpi;
    if (at != std::string_view::npos) dpi = number(text.substr(at + 1), kMinDpi, kMaxDpi);
    if (!width || !height || !dpi) return std::nullopt;
    return ScreenInfo{*width, *height, *dpi, *dpi};
}

}  // namespace tiltophon
