// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>

namespace tiltophon {

// What the player takes: a sound file that is larger or longer plays nothing. A file
// is judged by the same limits wherever it comes from, so that a dropped file that is
// listed also plays.

// Longest sound played. The whole sound is decoded before it starts, so this bounds
// the memory one sound takes: 60 s of 48 kHz stereo float is 23 MB.
constexpr uint32_t kMaxSoundSeconds = 60;
// Largest sound file read; it is held whole in memory while it is decoded.
constexpr uint64_t kMaxSoundFileBytes = uint64_t{64} << 20;
// Whatever the device's format, one decoded sound never takes more than this.
constexpr std::size_t kMaxSoundBytes = std::size_t{64} << 20;

}  // namespace tiltophon
