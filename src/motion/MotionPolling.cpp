// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/MotionPolling.h"

#include "app/AppState.h"
#include "motion/MotionDetector.h"
#include "platform/Window.h"

namespace tiltophon {

namespace {

struct Axis {
    MotionDetector* AppState::*detector;
    uint32_t timer_id;
    TimerRoutine tick;
};

// Each tick looks its detector up afresh, so a missing detector is simply skipped.
void tick_x(Window*, uint32_t) {
    if (MotionDetector* detector = app().detector_x) detector->sample();
}
void tick_y(Window*, uint32_t) {
    if (MotionDetector* detector = app().detector_y) detector->sample();
}
void tick_z(Window*, uint32_t) {
    if (MotionDetector* detector = app().detector_z) detector->sample();
}

constexpr Axis kAxes[] = {
    {&AppState::detector_x, kDetectorXTimer, tick_x},
    {&AppState::detector_y, kDetectorYTimer, tick_y},
    {&AppState::detector_z, kDetectorZTimer, tick_z},
};

}  // namespace

void start_motion() {
    AppState& state = app();
    for (const Axis& axis : kAxes) {
        MotionDetector* detector = state.*axis.detector;
        if (!detector) continue;
        detector->start();
        if (state.main_window) {
            state.main_window->set_timer(axis.timer_id, kDetectorPeriodMs, axis.tick);
        }
    }
}

void stop_motion() {
    AppState& state = app();
    for (const Axis& axis : kAxes) {
        MotionDetector* detector = state.*axis.detector;
        if (!detector) continue;
        if (state.main_window) state.main_window->kill_timer(axis.timer_id);
        detector->stop();
    }
}

}  // namespace tiltophon
