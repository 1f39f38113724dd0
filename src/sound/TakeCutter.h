// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <span>
#include <vector>

namespace tiltophon {

// Makes a sound of a microphone take: the take's offset from zero is taken out, the
// quiet before and after the sound is cut off, both ends fade in and out so they do
// not click, and the loudest sample is brought to the same level for every take.
// Pure work on the samples (mono, -1 to 1); no state but the sample rate.
class TakeCutter {
public:
    // Samples at or below this level (-45 dBFS) count as silence at the ends.
    static constexpr float kSilence = 0.0056234f;
    // The loudest sample after cutting (-1 dBFS).
    static constexpr float kPeak = 0.8912509f;
    static constexpr int kFadeMs = 5;
    // What is shorter after cutting is a stray noise, not a sound.
    static constexpr int kShortestMs = 50;

    explicit TakeCutter(int sample_rate) : rate_(sample_rate) {}

    // The finished sound; empty when the take holds nothing worth keeping (silence,
    // a constant offset, or a sound shorter than kShortestMs).
    std::vector<float> cut(std::span<const float> take) const;

private:
    int frames_of_ms(int ms) const { return static_cast<int>(static_cast<long long>(rate_) * ms / 1000); }

    int rate_;
};

}  // namespace tiltophon
