// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Two-colour rectangle gradients.
#include <algorithm>

#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

namespace {

// A colour as three 16-bit channels: each 8-bit channel shifted left by 8.
struct Channels16 {
    int32_t red;
    int32_t green;
    int32_t blue;
};

Channels16 channels_of(Colour c) {
    return {static_cast<int32_t>((c & 0xFFu) << 8), static_cast<int32_t>(c & 0xFF00u),
            static_cast<int32_t>(((c >> 16) & 0xFFu) << 8)};
}

// Step i of n (0 <= i < n) of the run from `start` to `end`: each 16-bit channel is
// start + (end - start) x i / n, truncated toward zero, and the pixel takes its high
// byte. Step 0 is exactly the start colour; the end colour belongs to the exclusive
// far edge, so the last step stops one step short of it.
uint32_t gradient_pixel(const Channels16& start, const Channels16& end, int64_t i, int64_t n) {
    auto channel = [&](int32_t s, int32_t e) {
        return static_cast<uint32_t>(s + (e - s) * i / n) >> 8;
    };
    return 0xFF000000u | (channel(start.red, end.red) << 16) |
           (channel(start.green, end.green) << 8) | channel(start.blue, end.blue);
}

}  // namespace

void gradient_fill(DrawContext& context, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   Colour start, Colour end, uint32_t mode) {
    if (mode != kGradientHorizontal && mode != kGradientVertical) return;
    const Rect rect{left, top, right, bottom};
    if (rect.empty()) return;
    const Rect clip = raster::clip_to(rect, context.width(), context.height());
    if (clip.empty()) return;
    const Channels16 from = channels_of(start);
    const Channels16 to = channels_of(end);
    if (mode == kGradientVertical) {
        for (int32_t y = clip.top; y < clip.bottom; ++y) {
            const uint32_t pixel = gradient_pixel(from, to, y - top, rect.height());
            raster::fill_row(context.row(y) + clip.left, clip.width(), pixel);
        }
        return;
    }
    uint32_t* first = context.row(clip.top);
    for (int32_t x = clip.left; x < clip.right; ++x) {
        first[x] = gradient_pixel(from, to, x - left, rect.width());
    }
    for (int32_t y = clip.top + 1; y < clip.bottom; ++y) {
        std::copy(first + clip.left, first + clip.right, context.row(y) + clip.left);
    }
}

}  // namespace tiltophon
