// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/DisplayTurns.h"

#include <cstring>
#include <optional>

namespace tiltophon {

namespace {

// How long a rotation read from the X server stands without a window event to renew
// it: a turn is rare, and frames and touches are many; a turn by half leaves the
// window's size as it was and so sends no event.
constexpr uint32_t kRotationKeptMs = 500;

bool on_x11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "x11") == 0;
}

}  // namespace

int32_t turns_for_orientation(SDL_DisplayOrientation orientation) {
    switch (orientation) {
        case SDL_ORIENTATION_PORTRAIT_FLIPPED:
            return 1;
        case SDL_ORIENTATION_LANDSCAPE_FLIPPED:
            return 2;
        case SDL_ORIENTATION_PORTRAIT:
            return 3;
        default:
            return 0;
    }
}

int32_t turns_for_randr_rotation(uint32_t rotation) {
    // RR_Rotate_0, _90, _180 and _270 are the low four bits, one of them set.
    switch (rotation & 0xF) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 8:
            return 1;
        default:
            return 0;
    }
}

DisplayTurns::DisplayTurns() {
    if (on_x11()) randr_ = RandrRotation::open();
}

int32_t DisplayTurns::turns(int display_index) {
    if (display_index < 0) display_index = 0;
    if (!randr_) return turns_for_orientation(SDL_GetDisplayOrientation(display_index));
    const uint32_t now = SDL_GetTicks();
    if (read_display_ == display_index && now - read_at_ms_ < kRotationKeptMs) return read_turns_;
    SDL_Rect bounds{};
    std::optional<uint32_t> rotation;
    if (SDL_GetDisplayBounds(display_index, &bounds) == 0) {
        rotation = randr_->rotation_at(bounds.x, bounds.y);
    }
    read_display_ = display_index;
    read_at_ms_ = now;
    read_turns_ = rotation ? turns_for_randr_rotation(*rotation) : 0;
    return read_turns_;
}

}  // namespace tiltophon
