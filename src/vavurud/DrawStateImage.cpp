// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/Draw.h"

namespace tiltophon {

void draw_state_image(DrawContext& context, const Rect& rect, int32_t kind, int32_t placement,
                      Image image, Image mask) {
    if (kind == kImagePlain && placement == kPlaceCentred) {
        blit_centered(context, rect, image);
    } else if (kind == kImagePlain && placement == kPlaceStretched) {
        blit_stretched(context, rect, image);
    } else if (kind == kImageMasked && placement == kPlaceCentred) {
        blit_centered_masked(context, rect, image, mask);
    } else if (kind == kImageMasked && placement == kPlaceStretched) {
        blit_stretched_masked(context, rect, image, mask);
    }
}

}  // namespace tiltophon
