// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/Sensitivity.h"

#include "motion/MotionDetector.h"

namespace tiltophon {

int16_t peak_threshold_for_sensitivity(int32_t sensitivity) {
    if (sensitivity < 1 || sensitivity > 10) return 800;
    return static_cast<int16_t>(1200 - 100 * sensitivity);
}

void apply_sensitivity(MotionDetector& detector, int32_t sensitivity) {
    detector.set_start_threshold(100)
        .set_peak_threshold(peak_threshold_for_sensitivity(sensitivity))
        .set_cross_limit(-200);
}

}  // namespace tiltophon
