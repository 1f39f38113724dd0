// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/MotionDetector.h"

#include "platform/Window.h"

namespace tiltophon {

MotionDetector::MotionDetector(Window* window, SensorBinding* binding, uint32_t message)
    : message_(message), window_(window), binding_(binding) {}

int MotionDetector::start() {
    if (binding_) binding_->read(&sample_record_);
    active_ = true;
    return 1;
}

void MotionDetector::stop() {
    active_ = false;
}

MotionDetector& MotionDetector::set_start_threshold(int16_t value) {
    start_threshold_ = value;
    return *this;
}

MotionDetector& MotionDetector::set_peak_threshold(int16_t value) {
    peak_threshold_ = value;
    return *this;
}

MotionDetector& MotionDetector::set_cross_limit(int16_t value) {
    cross_limit_ = value;
    return *this;
}

bool MotionDetector::read_sample() {
    if (!active_) return false;
    if (binding_) binding_->read(&sample_record_);
    return true;
}

bool MotionDetector::judge(int16_t magnitude) {
    if (!armed_) {
        if (magnitude <= start_threshold_) return false;
        armed_ = true;
        peak_ = magnitude;
        return false;
    }
    if (magnitude <= start_threshold_) {
        // The swing is over, judged or not.
        armed_ = false;
        fired_ = false;
        return false;
    }
    if (magnitude > peak_) {
        peak_ = magnitude;
        return false;
    }
    // The magnitude has stopped rising. A weak swing stays armed and may still grow.
    if (peak_ <= peak_threshold_ || fired_) return false;
    fired_ = true;
    // A swing with Z above the limit is spent without a word.
    return sample_record_.z < cross_limit_;
}

void MotionDetector::post(MotionCode code) {
    if (window_) window_->post_message(message_, static_cast<WParam>(code), 0);
}

void MotionDetector::post_direction(int16_t reading, MotionCode negative, MotionCode positive) {
    // The direction is the sign at the moment of judging; exactly zero has none.
    if (reading < 0) post(negative);
    if (reading > 0) post(positive);
}

void MotionDetectorX::sample() {
    if (!read_sample()) return;
    int16_t x = record().x;
    if (judge(magnitude_of(x))) post_direction(x, MotionCode::kXNegative, MotionCode::kXPositive);
}

void MotionDetectorY::sample() {
    if (!read_sample()) return;
    int16_t y = record().y;
    if (judge(magnitude_of(y))) post_direction(y, MotionCode::kYNegative, MotionCode::kYPositive);
}

void MotionDetectorZ::sample() {
    if (!read_sample()) return;
    constexpr int32_t kRestingZ = 1000;
    if (judge(magnitude_of(record().z, kRestingZ))) post(MotionCode::kZ);
}

}  // namespace tiltophon
