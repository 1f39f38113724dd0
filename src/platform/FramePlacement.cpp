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

FramePlacement FramePlacement::fit(int32_t frame_width, int32_t frame_height, int32_t output_width,
                                   int32_t output_height) {
    FramePlacement placement{frame_width, frame_height, {}};
    if (frame_width <= 0 || frame_height <= 0 || output_width <= 0 || output_height <= 0) {
        return placement;
    }
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
    return {frame_coordinate(x, target.left, target.width(), frame_width),
            frame_coordinate(y, target.top, target.height(), frame_height)};
}

}  // namespace tiltophon
