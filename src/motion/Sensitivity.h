// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tiltophon {

class MotionDetector;

// The peak threshold for an axis sensitivity: 1200 - 100 x s for s in 1..10 (1100 down
// to 200, the higher the sensitivity the gentler the swing), 800 for any other value.
int16_t peak_threshold_for_sensitivity(int32_t sensitivity);

// Sets all three thresholds of `detector` for a sensitivity read from the settings:
// start 100, the peak threshold above, cross-axis limit -200.
void apply_sensitivity(MotionDetector& detector, int32_t sensitivity);

}  // namespace tiltophon
