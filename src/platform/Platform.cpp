// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Platform.h"

namespace tiltophon {

namespace {
Platform g_platform;
}

Platform& platform() { return g_platform; }

void install_platform(const Platform& services) { g_platform = services; }

std::u16string translated(std::u16string_view english) {
    const Captions* captions = platform().captions;
    return captions ? captions->translate(english) : std::u16string(english);
}

std::u16string caption_language() {
    const Captions* captions = platform().captions;
    return captions ? captions->language() : std::u16string();
}

void pulse_vibrator(uint32_t duration_ms) {
    Platform& p = platform();
    if (p.vibrator) p.vibrator->start_pulse(duration_ms);
    // A failed switch is not noticed; the pulse still takes its time.
    if (p.clock) p.clock->sleep_ms(duration_ms);
    if (p.vibrator) p.vibrator->stop_pulse();
}

}  // namespace tiltophon
