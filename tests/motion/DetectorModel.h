// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "motion/MotionMessage.h"
#include "motion/SensorBinding.h"

namespace tiltophon {

// What one motion detector must post, worked out from the detector's rules alone and
// written as the three-state machine they describe (at rest, rising to a peak, spent),
// without any of the detector's own code. The random tests and the motion fuzzer feed
// the same readings, switches and thresholds to a detector and to this model and
// require the two to agree sample by sample: every swing the model judges must post
// its code exactly once, and nothing else may be posted.
class DetectorModel {
public:
    enum class Axis { kX, kY, kZ };
    enum class Phase { kAtRest, kRising, kSpent };

    explicit DetectorModel(Axis axis) : axis_(axis) {}

    void start() { running_ = true; }
    void stop() { running_ = false; }
    bool running() const { return running_; }
    Phase phase() const { return phase_; }

    void set_start_threshold(int16_t value) { start_threshold_ = value; }
    void set_peak_threshold(int16_t value) { peak_threshold_ = value; }
    void set_cross_limit(int16_t value) { cross_limit_ = value; }

    // The settings' thresholds: start 100, cross limit -200, and a peak threshold from
    // the table of sensitivities 1 to 10, 800 for any other value.
    void apply_sensitivity(int64_t sensitivity) {
        constexpr std::array<int16_t, 10> kPeakBySensitivity = {1100, 1000, 900, 800, 700,
                                                                600,  500,  400, 300, 200};
        start_threshold_ = 100;
        cross_limit_ = -200;
        peak_threshold_ = sensitivity >= 1 && sensitivity <= 10
                              ? kPeakBySensitivity[static_cast<std::size_t>(sensitivity - 1)]
                              : int16_t{800};
    }

    // The magnitude of an X or Y reading: its distance from zero, except that the
    // distance of -32768 (32768) does not fit in 16 bits and comes back as -32768.
    static int16_t axis_magnitude(int16_t reading) {
        if (reading == std::numeric_limits<int16_t>::min()) return reading;
        return reading >= 0 ? reading : static_cast<int16_t>(0 - reading);
    }

    // The magnitude of a Z reading: how far it lies beyond 1000 either way from zero.
    // It runs from -1000 (Z at 0) to 31768 (Z at -32768), so nothing is cut.
    static int16_t vertical_magnitude(int16_t reading) {
        return reading >= 0 ? static_cast<int16_t>(reading - 1000)
                            : static_cast<int16_t>(-1000 - reading);
    }

    int16_t magnitude(const SampleRecord& reading) const {
        switch (axis_) {
            case Axis::kX:
                return axis_magnitude(reading.x);
            case Axis::kY:
                return axis_magnitude(reading.y);
            case Axis::kZ:
                return vertical_magnitude(reading.z);
        }
        return 0;
    }

    // One polling step with `reading`; the code it must post, if any. A stopped
    // detector reads nothing and posts nothing.
    std::optional<MotionCode> sample(const SampleRecord& reading) {
        if (!running_) return std::nullopt;
        const int16_t m = magnitude(reading);
        const bool at_or_below_start = m <= start_threshold_;
        switch (phase_) {
            case Phase::kAtRest:
                if (!at_or_below_start) {
                    phase_ = Phase::kRising;
                    peak_ = m;
                }
                return std::nullopt;
            case Phase::kSpent:
                if (at_or_below_start) {
                    phase_ = Phase::kAtRest;
                } else if (m > peak_) {
                    peak_ = m;
                }
                return std::nullopt;
            case Phase::kRising:
                break;
        }
        if (at_or_below_start) {
            phase_ = Phase::kAtRest;
            return std::nullopt;
        }
        if (m > peak_) {
            peak_ = m;
            return std::nullopt;
        }
        if (!(peak_ > peak_threshold_)) return std::nullopt;
        phase_ = Phase::kSpent;
        if (!(reading.z < cross_limit_)) return std::nullopt;
        return code_for(reading);
    }

private:
    // The code of a judged swing: the direction of the axis reading at that moment.
    std::optional<MotionCode> code_for(const SampleRecord& reading) const {
        switch (axis_) {
            case Axis::kX:
                if (reading.x == 0) return std::nullopt;
                return reading.x > 0 ? MotionCode::kXPositive : MotionCode::kXNegative;
            case Axis::kY:
                if (reading.y == 0) return std::nullopt;
                return reading.y > 0 ? MotionCode::kYPositive : MotionCode::kYNegative;
            case Axis::kZ:
                return MotionCode::kZ;
        }
        return std::nullopt;
    }

    Axis axis_;
    // As a detector is built, before the settings are applied.
    int16_t start_threshold_ = 200;
    int16_t peak_threshold_ = 750;
    int16_t cross_limit_ = -300;
    Phase phase_ = Phase::kAtRest;
    int16_t peak_ = 0;
    bool running_ = false;
};

}  // namespace tiltophon
