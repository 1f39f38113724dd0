// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/StateImages.h"

#include "vavurud/Control.h"

namespace tiltophon {

bool StateImages::set(Image image, int32_t slot) {
    switch (slot) {
        case image_slot::kUp: up = image; return true;
        case image_slot::kUpMask: up_mask = image; return true;
        case image_slot::kDown: down = image; return true;
        case image_slot::kDownMask: down_mask = image; return true;
        case image_slot::kDisabled: disabled = image; return true;
        case image_slot::kDisabledMask: disabled_mask = image; return true;
        default: return false;
    }
}

void StateImages::draw(DrawContext& context, const Rect& rect, bool enabled, bool pressed) const {
    if (!enabled) {
        draw_state_image(context, rect, kind, placement, disabled, disabled_mask);
    } else if (pressed) {
        draw_state_image(context, rect, kind, placement, down, down_mask);
    } else {
        draw_state_image(context, rect, kind, placement, up, up_mask);
    }
}

}  // namespace tiltophon
