// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Image copies that leave out the pixels of a key colour.
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

void blit_centered_transparent(DrawContext& context, const Rect& rect, Image image, Colour key) {
    int32_t width = 0;
    int32_t height = 0;
    if (!image_size(image, width, height)) return;
    const raster::KeyOp op{pixel_from_colour(key)};
    raster::blit(context, raster::centred_in(rect, width, height), *image, image->bounds(), op);
}

void blit_stretched_transparent(DrawContext& context, const Rect& rect, Image image, Colour key) {
    int32_t width = 0;
    int32_t height = 0;
    if (!image_size(image, width, height)) return;
    const raster::KeyOp op{pixel_from_colour(key)};
    raster::blit(context, rect, *image, image->bounds(), op);
}

}  // namespace tiltophon
