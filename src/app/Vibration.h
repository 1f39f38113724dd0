// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tiltophon {

// Switches the vibrator on for `duration_ms` and off again; blocks the caller meanwhile.
void vibration_pulse(uint32_t duration_ms);

}  // namespace tiltophon
