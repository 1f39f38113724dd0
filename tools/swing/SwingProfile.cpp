// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "swing/SwingProfile.h"

#include <algorithm>
#include <cmath>

namespace tiltophon::swing {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kNoise = 12;         // a resting sensor wobbles by about this much
constexpr int kLeadIn = 4;         // rest samples before the swing
constexpr int kTail = 6;           // rest samples after it
constexpr int kLobeIntervals = 8;  // the main lobe lasts 400 ms
constexpr int kSideIntervals = 4;  // the lighter part of an up or down swing, 200 ms

// A tiny generator so a swing looks the same on every run with the same seed.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    int next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 16) % (2 * kNoise + 1)) - kNoise;
    }

private:
    uint32_t state_;
};

int16_t clamp16(double value) {
    return static_cast<int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
}

// sin^2 from 0 up to 1 and back over `intervals` steps, both ends 0.
std::vector<double> lobe(int intervals) {
    std::vector<double> shape;
    for (int i = 0; i <= intervals; ++i) {
        double s = std::sin(kPi * i / intervals);
        shape.push_back(s * s);
    }
    return shape;
}

Sample noisy(Noise& noise, double dx, double dy, double dz) {
    return {clamp16(kRest.x + dx + noise.next()), clamp16(kRest.y + dy + noise.next()),
            clamp16(kRest.z + dz + noise.next())};
}

}  // namespace

std::optional<Move> parse_move(std::string_view name) {
    if (name == "forward") return Move::kForward;
    if (name == "back") return Move::kBack;
    if (name == "left") return Move::kLeft;
    if (name == "right") return Move::kRight;
    if (name == "up") return Move::kUp;
    if (name == "down") return Move::kDown;
    return std::nullopt;
}

std::vector<Sample> rest_samples(int count, uint32_t seed) {
    Noise noise(seed);
    std::vector<Sample> samples;
    for (int i = 0; i < count; ++i) samples.push_back(noisy(noise, 0, 0, 0));
    return samples;
}

std::vector<Sample> swing_samples(Move move, int peak, uint32_t seed) {
    peak = std::clamp(peak, 0, kMaxPeak);
    Noise noise(seed);
    std::vector<Sample> samples = rest_samples(kLeadIn, seed + 1);
    auto add_lobe = [&](int intervals, double dx, double dy, double dz) {
        std::vector<double> shape = lobe(intervals);
        // Both ends of a lobe are rest; the lead-in and the tail already hold it.
        for (size_t i = 1; i + 1 < shape.size(); ++i) {
            samples.push_back(noisy(noise, dx * shape[i], dy * shape[i], dz * shape[i]));
        }
    };
    double p = peak;
    // The lighter part never lifts Z above -400, so it stays clear of every gate.
    double light = std::min(0.3 * p, 600.0);
    switch (move) {
        case Move::kForward:
            add_lobe(kLobeIntervals, 0, -p, 0);
            break;
        case Move::kBack:
            add_lobe(kLobeIntervals, 0, p, 0);
            break;
        case Move::kLeft:
            add_lobe(kLobeIntervals, -p, 0, 0);
            break;
        case Move::kRight:
            add_lobe(kLobeIntervals, p, 0, 0);
            break;
        case Move::kUp:
            add_lobe(kLobeIntervals, 0, 0, -p);
            add_lobe(kSideIntervals, 0, 0, light);
            break;
        case Move::kDown:
            add_lobe(kSideIntervals, 0, 0, light);
            add_lobe(kLobeIntervals, 0, 0, -p);
            break;
    }
    std::vector<Sample> tail = rest_samples(kTail, seed + 2);
    samples.insert(samples.end(), tail.begin(), tail.end());
    return samples;
}

}  // namespace tiltophon::swing
