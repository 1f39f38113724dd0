// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tiltophon {

// The window timers that poll the detectors, one per axis, on the main window.
inline constexpr uint32_t kDetectorXTimer = 1;
inline constexpr uint32_t kDetectorYTimer = 2;
inline constexpr uint32_t kDetectorZTimer = 3;
inline constexpr uint32_t kDetectorPeriodMs = 50;

// Starts each existing detector (X, Y, Z in this order) and its 50 ms timer on the
// main window. Main thread only.
void start_motion();
// Kills each existing detector's timer and stops the detector, in the same order.
// Main thread only.
void stop_motion();

}  // namespace tiltophon
