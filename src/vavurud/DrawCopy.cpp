// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Block fills and copies, and the image copies at natural size with the copy, AND and
// OR raster operations.
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

namespace raster {

bool blit_rop(Bitmap& target, const Rect& dest, const Bitmap& source, const Rect& from,
              uint32_t raster_op) {
    switch (raster_op) {
        case rop::kCopy: blit(target, dest, source, from, CopyOp{}); return true;
        case rop::kAnd: blit(target, dest, source, from, AndOp{}); return true;
        case rop::kOr: blit(target, dest, source, from, OrOp{}); return true;
        default: return false;
    }
}

}  // namespace raster

bool image_size(Image image, int32_t& width, int32_t& height) {
    if (!image) return false;
    width = image->width();
    height = image->height();
    return true;
}

Rect deflate_rect(const Rect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {r.left + left, r.top + top, r.right - right, r.bottom - bottom};
}

void fill_rect(DrawContext& context, const Rect& rect, Colour colour) {
    const Rect clip = raster::clip_to(rect, context.width(), context.height());
    if (clip.empty()) return;
    const uint32_t pixel = pixel_from_colour(colour);
    for (int32_t y = clip.top; y < clip.bottom; ++y) {
        raster::fill_row(context.row(y) + clip.left, clip.width(), pixel);
    }
}

void copy_block(DrawContext& destination, int32_t x, int32_t y, int32_t width, int32_t height,
                const DrawContext& source, int32_t sx, int32_t sy) {
    raster::map_rows(destination, x, y, width, height, source, sx, sy, raster::CopyOp{});
}

void blit_centered(DrawContext& context, const Rect& rect, Image image) {
    blit_centered_rop(context, rect, image, rop::kCopy);
}

void blit_centered_rop(DrawContext& context, const Rect& rect, Image image, uint32_t raster_op) {
    int32_t width = 0;
    int32_t height = 0;
    if (!image_size(image, width, height)) return;
    raster::blit_rop(context, raster::centred_in(rect, width, height), *image, image->bounds(), raster_op);
}

void blit_centered_masked(DrawContext& context, const Rect& rect, Image image, Image mask) {
    blit_centered_rop(context, rect, mask, rop::kAnd);
    blit_centered_rop(context, rect, image, rop::kOr);
}

}  // namespace tiltophon
