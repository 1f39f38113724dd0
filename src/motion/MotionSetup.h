// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tiltophon {

// Start-up steps of the loader thread; both run before detection can be switched on.

// Creates the sensor binding, stores it in `app().sensor` and opens the accelerometer.
// Returns the result of the binding's `load`; the binding exists either way.
int init_sensor_binding();

// When `app().sensor` exists, creates the X, Y and Z detectors (in that order) on the
// main window and stores them in `app().detector_x`, `detector_y`, `detector_z`.
void create_motion_detectors();

}  // namespace tiltophon
