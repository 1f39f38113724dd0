// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "motion/MotionMessage.h"
#include "motion/SensorBinding.h"

namespace tiltophon {

class Window;

// Turns the readings of one accelerometer axis into swings. A swing starts when the
// axis magnitude rises above the start threshold, climbs to a peak and is judged at
// the first sample that no longer rises, provided the peak exceeded the peak
// threshold. A judged swing posts its code once, and only when Z lies below the
// cross-axis limit; either way it is spent until the magnitude falls back to the start
// threshold or below.
//
// Everything runs on the main thread: `start` and `stop` from the motion switch,
// `sample` from the detector's own timer tick. Sampling allocates nothing.
class MotionDetector {
public:
    MotionDetector(Window* window, SensorBinding* binding, uint32_t message);
    virtual ~MotionDetector() = default;
    MotionDetector(const MotionDetector&) = delete;
    MotionDetector& operator=(const MotionDetector&) = delete;

    // Reads the sensor once and resumes sampling where the detector left off; 1.
    virtual int start();
    // Suspends sampling; the swing under way keeps its state.
    virtual void stop();
    // One polling step.
    virtual void sample() = 0;

    MotionDetector& set_start_threshold(int16_t value);
    MotionDetector& set_peak_threshold(int16_t value);
    MotionDetector& set_cross_limit(int16_t value);

    int16_t start_threshold() const { return start_threshold_; }
    int16_t peak_threshold() const { return peak_threshold_; }
    int16_t cross_limit() const { return cross_limit_; }

protected:
    // Reads one sample into the record; false, without reading, while stopped.
    bool read_sample();
    // Advances the swing by one magnitude. True when this sample judges the swing and
    // the cross-axis gate lets it through: the caller then posts its code.
    bool judge(int16_t magnitude);
    void post(MotionCode code);
    // Posts `negative` or `positive` by the sign of `reading`; nothing for 0.
    void post_direction(int16_t reading, MotionCode negative, MotionCode positive);
    const SampleRecord& record() const { return sample_record_; }

    // |reading| - rest, computed in 32 bits and truncated back to 16, as every detector
    // does: a reading of -32768 wraps to a magnitude of -32768.
    static int16_t magnitude_of(int16_t reading, int32_t rest = 0) {
        int32_t wide = reading;
        return static_cast<int16_t>((wide < 0 ? -wide : wide) - rest);
    }

private:
    int16_t start_threshold_ = 200;
    int16_t peak_threshold_ = 750;
    int16_t cross_limit_ = -300;
    uint32_t message_;
    Window* window_;
    SensorBinding* binding_;
    SampleRecord sample_record_{};
    int16_t peak_ = 0;
    bool armed_ = false;
    bool fired_ = false;
    bool active_ = false;
};

// Left and right: codes 3 (X below zero) and 4 (X above zero).
class MotionDetectorX : public MotionDetector {
public:
    using MotionDetector::MotionDetector;
    void sample() override;
};

// Forward and back: codes 1 (Y below zero) and 2 (Y above zero).
class MotionDetectorY : public MotionDetector {
public:
    using MotionDetector::MotionDetector;
    void sample() override;
};

// Along the vertical axis: code 5. Z at rest is taken as 1000 in magnitude, and the
// detector measures the excess over it.
class MotionDetectorZ : public MotionDetector {
public:
    using MotionDetector::MotionDetector;
    void sample() override;
};

}  // namespace tiltophon
