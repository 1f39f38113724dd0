// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Image copies scaled to a rectangle, nearest pixel.
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

void blit_stretched(DrawContext& context, const Rect& rect, Image image) {
    blit_stretched_rop(context, rect, image, rop::kCopy);
}

void blit_stretched_rop(DrawContext& context, const Rect& rect, Image image, uint32_t raster_op) {
    int32_t width = 0;
    int32_t height = 0;
    if (!image_size(image, width, height)) return;
    raster::blit_rop(context, rect, *image, image->bounds(), raster_op);
}

void blit_stretched_part(DrawContext& context, const Rect& rect, Image image, const Rect& from) {
    if (!image || from.empty()) return;
    const Rect all = image->bounds();
    if (from.left < all.left || from.top < all.top || from.right > all.right ||
        from.bottom > all.bottom) {
        return;
    }
    raster::blit_rop(context, rect, *image, from, rop::kCopy);
}

void blit_stretched_masked(DrawContext& context, const Rect& rect, Image image, Image mask) {
    blit_stretched_rop(context, rect, mask, rop::kAnd);
    blit_stretched_rop(context, rect, image, rop::kOr);
}

}  // namespace tiltophon
