// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Filling a rectangle with a tiled image.
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

void fill_pattern(DrawContext& context, const Rect& rect, Image image, uint32_t raster_op) {
    int32_t width = 0;
    int32_t height = 0;
    if (!image_size(image, width, height) || width <= 0 || height <= 0) return;
    // A pattern brush only knows how to paint itself; an operation that would need a
    // source image or the old pixels has nothing defined to work on, so it paints nothing.
    if (raster_op != rop::kPatternCopy) return;
    const Rect clip = raster::clip_to(rect, context.width(), context.height());
    if (clip.empty()) return;
    for (int32_t y = clip.top; y < clip.bottom; ++y) {
        const uint32_t* tile_row = image->row((y - rect.top) % height);
        uint32_t* d = context.row(y);
        // The tiling starts at the rectangle's top-left corner whatever part is clipped.
        int32_t tx = (clip.left - rect.left) % width;
        for (int32_t x = clip.left; x < clip.right; ++x) {
            d[x] = tile_row[tx];
            if (++tx == width) tx = 0;
        }
    }
}

}  // namespace tiltophon
