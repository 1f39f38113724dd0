// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "platform/sdl/RandrRotation.h"

namespace tiltophon {

// SDL names the orientations as if every panel were landscape: its landscape is the
// panel's natural orientation, whatever the panel's shape. The clockwise quarter turns
// (0 to 3) that show the frame upright; an orientation it cannot tell counts as none.
int32_t turns_for_orientation(SDL_DisplayOrientation orientation);

// RandR turns the picture counter-clockwise; a reflection is left as it is. Anything
// but one of the four rotations counts as none.
int32_t turns_for_randr_rotation(uint32_t rotation);

// The clockwise quarter turns (0 to 3) that show the frame upright on a display its
// shell has turned, so the pages keep the panel's natural orientation whichever way
// the shell turns the picture. Under Wayland SDL tells the display's orientation;
// under X11 SDL 2.26 does not, and the output's RandR rotation is read instead. A turn
// that cannot be told counts as none. For the main thread, while SDL's video runs.
class DisplayTurns {
public:
    // Opens its own connection to the X server when SDL's video runs on X11.
    DisplayTurns();

    int32_t turns(int display_index);
    // The next `turns` asks the X server again instead of taking what it last said:
    // for when the window's size or display has changed.
    void forget() { read_display_ = -1; }

private:
    std::unique_ptr<RandrRotation> randr_;
    int read_display_ = -1;
    uint32_t read_at_ms_ = 0;
    int32_t read_turns_ = 0;
};

}  // namespace tiltophon
