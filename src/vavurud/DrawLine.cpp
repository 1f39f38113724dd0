// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One-pixel and wide lines.
#include <algorithm>
#include <cstdlib>

#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

namespace {

// A fresh surface draws lines in black, one pixel wide.
constexpr Pen kDefaultPen{0x000000, 1};

}  // namespace

void draw_line(DrawContext& context, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               const Pen* pen) {
    const Pen& p = pen ? *pen : kDefaultPen;
    const uint32_t pixel = pixel_from_colour(p.colour);
    const int32_t width = p.width > 1 ? p.width : 1;
    // A wide pen paints a width x width square centred on each point of the line.
    const int32_t before = (width - 1) / 2;
    auto plot = [&](int64_t x, int64_t y) {
        const Rect dot{static_cast<int32_t>(x - before), static_cast<int32_t>(y - before),
                       static_cast<int32_t>(x - before + width),
                       static_cast<int32_t>(y - before + width)};
        const Rect clip = raster::clip_to(dot, context.width(), context.height());
        for (int32_t yy = clip.top; yy < clip.bottom; ++yy) {
            for (int32_t xx = clip.left; xx < clip.right; ++xx) context.set_pixel(xx, yy, pixel);
        }
    };
    // Nothing to walk when the whole line, pen included, lies off the surface.
    if (std::max(x1, x2) + width <= 0 || std::max(y1, y2) + width <= 0 ||
        std::min(x1, x2) - width >= context.width() || std::min(y1, y2) - width >= context.height()) {
        return;
    }
    // Bresenham's walk; like any line-to, the end point itself is not drawn.
    const int64_t dx = std::llabs(static_cast<int64_t>(x2) - x1);
    const int64_t dy = -std::llabs(static_cast<int64_t>(y2) - y1);
    const int64_t step_x = x1 < x2 ? 1 : -1;
    const int64_t step_y = y1 < y2 ? 1 : -1;
    int64_t error = dx + dy;
    int64_t x = x1;
    int64_t y = y1;
    while (x != x2 || y != y2) {
        plot(x, y);
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += step_x;
        }
        if (twice <= dx) {
            error += dx;
            y += step_y;
        }
    }
}

}  // namespace tiltophon
