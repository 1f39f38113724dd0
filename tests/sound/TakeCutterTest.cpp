// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/TakeCutter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace tiltophon {
namespace {

constexpr int kRate = 8000;  // 8 samples a millisecond

std::vector<float> operator+(std::vector<float> a, const std::vector<float>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<float> level(int ms, float value) {
    return std::vector<float>(static_cast<std::size_t>(ms * kRate / 1000), value);
}

// A square wave of +-amplitude around `offset`: every sample is as loud as the peak.
std::vector<float> square(int ms, float amplitude, float offset = 0) {
    std::vector<float> out = level(ms, offset);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] += (i / 4) % 2 ? -amplitude : amplitude;
    return out;
}

TEST(TakeCutterTest, CutsToTheSoundFadesItsEndsAndSetsItsPeak) {
    struct Case {
        const char* what;
        std::vector<float> take;
        int sound_ms;  // 0: nothing to keep
    };
    // -45 dBFS is 0.0056: a hiss at 0.004 is silence, a sound at 0.01 is not.
    const std::vector<Case> cases = {
        {"nothing at all", {}, 0},
        {"a constant offset", level(500, 0.3f), 0},
        {"hiss below the threshold", square(500, 0.004f), 0},
        {"a click of 40 ms", level(100, 0) + square(40, 0.5f) + level(100, 0), 0},
        {"a sound of 60 ms", level(100, 0) + square(60, 0.5f) + level(100, 0), 60},
        {"a sound between hiss", square(100, 0.004f) + square(200, 0.2f) + square(100, 0.004f), 200},
        {"a quiet sound on an offset", level(100, 0.2f) + square(300, 0.01f, 0.2f) + level(100, 0.2f), 300},
        {"a sound that fills the take", square(250, 0.99f), 250},
    };
    const TakeCutter cutter(kRate);
    const std::size_t fade = kRate * TakeCutter::kFadeMs / 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<float> sound = cutter.cut(c.take);
        // An offset shifts the mean a little, which may keep a sample more at an end.
        EXPECT_NEAR(static_cast<double>(sound.size()), c.sound_ms * kRate / 1000, 2);
        if (sound.empty()) continue;
        float peak = 0;
        for (float sample : sound) peak = std::max(peak, std::abs(sample));
        EXPECT_NEAR(peak, TakeCutter::kPeak, 1e-4);
        // The ends rise from and fall to zero over the fade and never jump.
        for (std::size_t i = 0; i < fade; ++i) {
            const float limit = TakeCutter::kPeak * i / fade + 1e-4f;
            EXPECT_LE(std::max(std::abs(sound[i]), std::abs(sound[sound.size() - 1 - i])), limit);
        }
        // No offset is left.
        EXPECT_NEAR(std::accumulate(sound.begin(), sound.end(), 0.0) / sound.size(), 0.0, 0.05);
    }
}

}  // namespace
}  // namespace tiltophon
