// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Clock.h"

namespace tiltophon {

// Real time: SDL's millisecond tick counter.
class SdlClock : public Clock {
public:
    uint32_t tick_count_ms() override;
    void sleep_ms(uint32_t ms) override;
};

}  // namespace tiltophon
