// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlClock.h"

#include <SDL.h>

namespace tiltophon {

uint32_t SdlClock::tick_count_ms() { return static_cast<uint32_t>(SDL_GetTicks64()); }

void SdlClock::sleep_ms(uint32_t ms) { SDL_Delay(ms); }

}  // namespace tiltophon
