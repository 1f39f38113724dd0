// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tiltophon::sensor {

// One accelerometer reading in thousandths of g, as the library hands it out.
struct Reading {
    int16_t x = 0;
    int16_t y = 0;
    int16_t z = 0;
    friend bool operator==(const Reading&, const Reading&) = default;
};

// Lying still, screen up: what a source reads once its device has gone.
inline constexpr Reading kRest{0, 0, -1000};

// Rounds to the nearest integer and clamps to the signed 16-bit range.
int16_t clamp_to_int16(double value);

// Parses a text line "x y z": three decimal numbers separated by blanks or commas,
// each rounded and clamped to 16 bits. Anything else (a missing or extra number, a
// word, a comment, an empty line) is not a reading.
std::optional<Reading> parse_reading_line(std::string_view line);

}  // namespace tiltophon::sensor
