// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tiltophon::swing {

// One accelerometer sample in thousandths of g.
struct Sample {
    int16_t x = 0;
    int16_t y = 0;
    int16_t z = 0;
};

// Lying still, screen up.
inline constexpr Sample kRest{0, 0, -1000};
inline constexpr uint32_t kSamplePeriodMs = 50;

// The directions of the program's motion codes: forward Y < 0, back Y > 0, left X < 0,
// right X > 0; up and down move along Z.
enum class Move { kForward, kBack, kLeft, kRight, kUp, kDown };

std::optional<Move> parse_move(std::string_view name);

// The largest peak a swing can have without a reading leaving the 16-bit range.
inline constexpr int kMaxPeak = 30000;

// The samples of one swing, 50 ms apart, from rest to rest: the axis rises smoothly
// to `peak` (thousandths of g over rest) and falls back, with a little sensor noise
// from `seed`. X and Y swings keep Z near -1000; an up swing presses Z further down
// and then lightens briefly (Z never above -400), a down swing lightens first and is then caught,
// which presses Z down. Either way the strongest part of every swing is one smooth lobe, so one
// swing is one gesture.
std::vector<Sample> swing_samples(Move move, int peak, uint32_t seed = 1);

// `count` samples at rest with the same noise.
std::vector<Sample> rest_samples(int count, uint32_t seed = 1);

}  // namespace tiltophon::swing
