// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Reading.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tiltophon::sensor {

namespace {

bool is_separator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == ',';
}

}  // namespace

int16_t clamp_to_int16(double value) {
    constexpr double kLow = std::numeric_limits<int16_t>::min();
    constexpr double kHigh = std::numeric_limits<int16_t>::max();
    if (std::isnan(value)) return 0;
    double rounded = std::round(value);
    if (rounded < kLow) return static_cast<int16_t>(kLow);
    if (rounded > kHigh) return static_cast<int16_t>(kHigh);
    return static_cast<int16_t>(rounded);
}

std::optional<Reading> parse_reading_line(std::string_view line) {
    double values[3];
    int count = 0;
    const char* at = line.data();
    const char* end = line.data() + line.size();
    while (true) {
        while (at != end && is_separator(*at)) ++at;
        if (at == end) break;
        if (count == 3) return std::nullopt;
        // from_chars takes no leading '+'; a reading may well carry one.
        const char* number = (*at == '+' && end - at > 1 && *(at + 1) != '-') ? at + 1 : at;
        double value = 0;
        auto [next, error] = std::from_chars(number, end, value);
        if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
        if (next != end && !is_separator(*next)) return std::nullopt;
        values[count++] = value;
        at = next;
    }
    if (count != 3) return std::nullopt;
    return Reading{clamp_to_int16(values[0]), clamp_to_int16(values[1]), clamp_to_int16(values[2])};
}

}  // namespace tiltophon::sensor
