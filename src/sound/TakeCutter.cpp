// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/TakeCutter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tiltophon {

namespace {

// The mean of the take: a microphone's constant offset, which would otherwise count
// as sound at both ends and eat into the headroom.
double offset_of(std::span<const float> take) {
    double sum = 0;
    for (float sample : take) sum += sample;
    return sum / static_cast<double>(take.size());
}

}  // namespace

std::vector<float> TakeCutter::cut(std::span<const float> take) const {
    if (take.empty() || rate_ <= 0) return {};
    const double offset = offset_of(take);
    auto loud = [offset](float sample) {
        return std::abs(static_cast<double>(sample) - offset) > kSilence;
    };
    auto first = std::find_if(take.begin(), take.end(), loud);
    if (first == take.end()) return {};
    auto last = std::find_if(take.rbegin(), take.rend(), loud).base();

    std::vector<float> sound;
    sound.reserve(static_cast<std::size_t>(last - first));
    double peak = 0;
    for (auto it = first; it != last; ++it) {
        const double sample = static_cast<double>(*it) - offset;
        peak = std::max(peak, std::abs(sample));
        sound.push_back(static_cast<float>(sample));
    }
    if (sound.size() < static_cast<std::size_t>(frames_of_ms(kShortestMs))) return {};

    const double gain = kPeak / peak;
    const std::size_t fade = std::min<std::size_t>(static_cast<std::size_t>(frames_of_ms(kFadeMs)),
                                                   sound.size() / 2);
    for (std::size_t i = 0; i < sound.size(); ++i) {
        double level = gain;
        // Linear ramps that reach zero at the outermost sample.
        if (i < fade) level *= static_cast<double>(i) / static_cast<double>(fade);
        const std::size_t from_end = sound.size() - 1 - i;
        if (from_end < fade) level *= static_cast<double>(from_end) / static_cast<double>(fade);
        sound[i] = static_cast<float>(sound[i] * level);
    }
    return sound;
}

}  // namespace tiltophon
