// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FramePlacement.h"

#include <algorithm>
#include <cmath>

namespace tiltophon {

namespace {

// `value` x `numerator` / `denominator`, rounded to the nearest whole number, at least 1.
int32_t scaled_side(int32_t value, int32_t numerator, int32_t denominator) {
    int64_t product = int64_t{value} * numerator;
    int64_t rounded = (2 * product + denominator) / (2 * int64_t{denominator});
    return static_cast<int32_t>(std::max<int64_t>(rounded, 1));
}

// One axis of a window position back in frame pixels, clamped to [0, frame - 1].
int32_t frame_coordinate(double position, int32_t target_start, int32_t target_size,
                         int32_t frame_size) {
    if (frame_size <= 0) return 0;
    if (target_size <= 0) return 0;
    double scaled = std::floor((position - target_start) * frame_size / target_size);
    if (!(scaled >= 0)) return 0;  // also a position that is not a number
    if (scaled >= frame_size) return frame_size - 1;
    return static_cast<int32_t>(scaled);
}

}  // namespace

FramePlacement FramePlacement::fit(int32_t shown_frame_width, int32_t shown_frame_height,
                                   int32_t output_width, int32_t output_height,
                                   int32_t quarter_turns) {
    FramePlacement placement{
        shown_frame_width, shown_frame_height, normal_turns(quarter_turns), {}};
    if (shown_frame_width <= 0 || shown_frame_height <= 0 || output_width <= 0 ||
        output_height <= 0) {
        return placement;
    }
    // From here on the frame is the one the window sees, turned.
    const int32_t frame_width = placement.shown_width();
    const int32_t frame_height = placement.shown_height();
    int32_t width = output_width;
    int32_t height = output_height;
    // The window is relatively wider than the frame when output_w / output_h exceeds
    // frame_w / frame_h; then the height limits the scale.
    if (int64_t{output_width} * frame_height > int64_t{output_height} * frame_width) {
        width = std::min(scaled_side(frame_width, output_height, frame_height), output_width);
    } else {
        height = std::min(scaled_side(frame_height, output_width, frame_width), output_height);
    }
    int32_t left = (output_width - width) / 2;
    int32_t top = (output_height - height) / 2;
    placement.target = {left, top, left + width, top + height};
    return placement;
}

Point FramePlacement::frame_point(double x, double y) const {
    const int32_t u = frame_coordinate(x, target.left, target.width(), shown_width());
    const int32_t v = frame_coordinate(y, target.top, target.height(), shown_height());
    // Back from the turned frame's pixel (u, v) to the frame's own.
    switch (quarter_turns) {
        case 1:
            return {v, frame_height - 1 - u};
        case 2:
            return {frame_width - 1 - u, frame_height - 1 - v};
        case 3:
            return {frame_width - 1 - v, u};
        default:
            return {u, v};
    }
}

void turn_frame(const Bitmap& frame, int32_t quarter_turns, Bitmap& turned) {
    const int32_t turns = normal_turns(quarter_turns);
    const int32_t w = frame.width();
    const int32_t h = frame.height();
    const int32_t turned_w = turns % 2 ? h : w;
    const int32_t turned_h = turns % 2 ? w : h;
    if (turned.width() != turned_w || turned.height() != turned_h)
        turned = Bitmap(turned_w, turned_h);
    const uint32_t* from = frame.data();
    uint32_t* to = turned.data();
    // Row by row of the source, so the frame is read in order.
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t pixel = from[int64_t{y} * w + x];
            switch (turns) {
                case 1:
                    to[int64_t{x} * turned_w + (h - 1 - y)] = pixel;
                    break;
                case 2:
                    to[int64_t{h - 1 - y} * turned_w + (w - 1 - x)] = pixel;
                    break;
                case 3:
                    to[int64_t{w - 1 - x} * turned_w + y] = pixel;
                    break;
                default:
                    to[int64_t{y} * turned_w + x] = pixel;
                    break;
            }
        }
    }
}

}  // namespace tiltophon
