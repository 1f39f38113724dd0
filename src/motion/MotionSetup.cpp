// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/MotionSetup.h"

#include "app/AppState.h"
#include "motion/MotionDetector.h"
#include "motion/SensorBinding.h"

namespace tiltophon {

int init_sensor_binding() {
    AppState& state = app();
    state.sensor = state.make_owned<SensorBinding>();
    return state.sensor->load(kAccelerometerKind);
}

void create_motion_detectors() {
    AppState& state = app();
    if (!state.sensor) return;
    state.detector_x =
        state.make_owned<MotionDetectorX>(state.main_window, state.sensor, kMotionMessage);
    state.detector_y =
        state.make_owned<MotionDetectorY>(state.main_window, state.sensor, kMotionMessage);
    state.detector_z =
        state.make_owned<MotionDetectorZ>(state.main_window, state.sensor, kMotionMessage);
}

}  // namespace tiltophon
