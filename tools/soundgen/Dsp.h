// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace tiltophon::soundgen {

constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<float>;

inline std::size_t frames(double seconds) {
    return std::size_t(seconds * kRate);
}

// A sine oscillator whose frequency may change every sample.
class Sine {
public:
    explicit Sine(double phase = 0.0) : phase_(phase) {}
    double next(double frequency);

private:
    double phase_;
};

// A band-limited sawtooth (PolyBLEP), -1 .. 1.
class Saw {
public:
    explicit Saw(double phase = 0.0) : phase_(phase) {}
    double next(double frequency);

private:
    double phase_;
};

// White noise, the same for the same seed.
class Noise {
public:
    explicit Noise(uint32_t seed) : random_(seed) {}
    double next() { return uniform_(random_); }

private:
    std::mt19937 random_;
    std::uniform_real_distribution<double> uniform_{-1.0, 1.0};
};

// Zero-delay-feedback state-variable filter: stable at any cutoff and resonance.
class Filter {
public:
    struct Out {
        double low, band, high;
    };
    Out next(double input, double cutoff, double q);

private:
    double ic1_ = 0.0, ic2_ = 0.0;
};

// exp(-t / tau): the decay of struck and plucked things.
inline double decay(double t, double tau) {
    return t < 0 ? 0.0 : std::exp(-t / tau);
}

// Fades the first and last milliseconds with half cosines, so that the sound neither
// starts nor stops with a click, then scales its peak to `peak`.
void finish(Samples& samples, double fade_in_ms = 2.0, double fade_out_ms = 30.0,
            double peak = 0.89);

}  // namespace tiltophon::soundgen
