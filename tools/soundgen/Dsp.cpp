// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace tiltophon::soundgen {

double Sine::next(double frequency) {
    double value = std::sin(2.0 * kPi * phase_);
    phase_ += frequency / kRate;
    phase_ -= std::floor(phase_);
    return value;
}

namespace {
// The correction that rounds off the saw's jump over one sample on either side.
double poly_blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}
}  // namespace

double Saw::next(double frequency) {
    double dt = frequency / kRate;
    double value = 2.0 * phase_ - 1.0 - poly_blep(phase_, dt);
    phase_ += dt;
    phase_ -= std::floor(phase_);
    return value;
}

Filter::Out Filter::next(double input, double cutoff, double q) {
    cutoff = std::clamp(cutoff, 10.0, kRate * 0.45);
    double g = std::tan(kPi * cutoff / kRate);
    double k = 1.0 / q;
    double a1 = 1.0 / (1.0 + g * (g + k));
    double a2 = g * a1;
    double a3 = g * a2;
    double v3 = input - ic2_;
    double v1 = a1 * ic1_ + a2 * v3;
    double v2 = ic2_ + a2 * ic1_ + a3 * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {v2, v1, input - k * v1 - v2};
}

void finish(Samples& samples, double fade_in_ms, double fade_out_ms, double peak) {
    // Remove any offset first: a sound that ends away from zero clicks however it fades.
    double mean = 0.0;
    for (float s : samples) mean += s;
    mean /= double(std::max<std::size_t>(samples.size(), 1));
    for (float& s : samples) s = float(s - mean);
    std::size_t in = std::min(samples.size(), frames(fade_in_ms / 1000.0));
    for (std::size_t i = 0; i < in; ++i)
        samples[i] *= float(0.5 - 0.5 * std::cos(kPi * double(i) / double(in)));
    std::size_t out = std::min(samples.size(), frames(fade_out_ms / 1000.0));
    for (std::size_t i = 0; i < out; ++i) {
        samples[samples.size() - 1 - i] *=
            float(0.5 - 0.5 * std::cos(kPi * double(i) / double(out)));
    }
    float largest = 0.0f;
    for (float s : samples) largest = std::max(largest, std::abs(s));
    if (largest > 0.0f) {
        for (float& s : samples) s = float(s * peak / largest);
    }
}

}  // namespace tiltophon::soundgen
