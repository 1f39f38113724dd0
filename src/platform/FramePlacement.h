// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace tiltophon {

// Where the finished frame lies in a window: scaled by one factor for both axes, as
// large as the window's pixels allow, centred, with black bands in the rest. The
// frame is never stretched unevenly, so a tall phone, a HiDPI desktop and a window a
// tiling shell has reshaped all show the pages as they were drawn.
//
// When the shell turns the display away from its natural orientation, the frame is
// shown turned the other way, so that the pages stay upright on the panel: the
// window then sees the frame turned by `quarter_turns` clockwise.
struct FramePlacement {
    int32_t frame_width = 0;
    int32_t frame_height = 0;
    // Clockwise quarter turns of the frame as the window shows it, 0 to 3.
    int32_t quarter_turns = 0;
    // The turned frame's rectangle in window pixels; empty when the window has no pixels.
    Rect target;

    // Lays a frame of `frame_width` x `frame_height`, turned by `quarter_turns`, into
    // a window of `output_width` x `output_height` pixels. Either side of the turned
    // frame spans the whole window along the axis that limits the scale; the other side
    // is rounded to the nearest pixel, and the leftover pixels are split evenly (an odd
    // one goes to the right or bottom).
    static FramePlacement fit(int32_t frame_width, int32_t frame_height, int32_t output_width,
                              int32_t output_height, int32_t quarter_turns = 0);

    // The turned frame's size.
    int32_t shown_width() const { return quarter_turns % 2 ? frame_height : frame_width; }
    int32_t shown_height() const { return quarter_turns % 2 ? frame_width : frame_height; }

    // The frame pixel under the window position (`x`, `y`), in window pixels that may
    // lie between pixel centres (a touch). A position in the bands or outside the
    // window comes back clamped to the frame's nearest edge.
    Point frame_point(double x, double y) const;
};

// `frame` turned clockwise by `quarter_turns` (any whole number) into `turned`, which
// is made the turned size when it is not already.
void turn_frame(const Bitmap& frame, int32_t quarter_turns, Bitmap& turned);

// Quarter turns, 0 to 3, of any whole number of them.
inline int32_t normal_turns(int32_t quarter_turns) {
    return ((quarter_turns % 4) + 4) % 4;
}

}  // namespace tiltophon
