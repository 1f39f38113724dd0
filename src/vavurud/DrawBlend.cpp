// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Constant-alpha blending of one surface onto another.
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

void alpha_blend(DrawContext& destination, int32_t x, int32_t y, int32_t width, int32_t height,
                 const DrawContext& source, int32_t sx, int32_t sy, int32_t source_width,
                 int32_t source_height, uint32_t alpha) {
    const raster::BlendOp op{alpha & 0xFFu};
    raster::blit(destination, {x, y, x + width, y + height}, source,
                 {sx, sy, sx + source_width, sy + source_height}, op, op);
}

void alpha_blend_same(DrawContext& destination, int32_t x, int32_t y, int32_t width,
                      int32_t height, const DrawContext& source, uint32_t alpha) {
    alpha_blend(destination, x, y, width, height, source, 0, 0, width, height, alpha);
}

}  // namespace tiltophon
