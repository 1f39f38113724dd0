// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Geometry.h"

namespace tiltophon {

// Where the finished frame lies in a window: scaled by one factor for both axes, as
// large as the window's pixels allow, centred, with black bands in the rest. The
// frame is never stretched unevenly, so a tall phone, a HiDPI desktop and a window a
// tiling shell has reshaped all show the pages as they were drawn.
struct FramePlacement {
    int32_t frame_width = 0;
    int32_t frame_height = 0;
    // The frame's rectangle in window pixels; empty when the window has no pixels.
    Rect target;

    // Lays a frame of `frame_width` x `frame_height` into a window of `output_width` x
    // `output_height` pixels. Either side of the frame spans the whole window along the
    // axis that limits the scale; the other side is rounded to the nearest pixel, and
    // the leftover pixels are split evenly (an odd one goes to the right or bottom).
    static FramePlacement fit(int32_t frame_width, int32_t frame_height, int32_t output_width,
                              int32_t output_height);

    // The frame pixel under the window position (`x`, `y`), in window pixels that may
    // lie between pixel centres (a touch). A position in the bands or outside the
    // window comes back clamped to the frame's nearest edge.
    Point frame_point(double x, double y) const;
};

}  // namespace tiltophon
