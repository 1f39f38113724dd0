// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Vibration.h"

#include "platform/Platform.h"

namespace tiltophon {

void vibration_pulse(uint32_t duration_ms) { pulse_vibrator(duration_ms); }

}  // namespace tiltophon
