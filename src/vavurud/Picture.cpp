// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/Picture.h"

namespace tiltophon {

Picture::Picture(Window* owner, uint32_t id) : Control(owner, id) { accepts_pen_ = false; }

void Picture::draw(DrawContext& context) {
    draw_state_image(context, get_rect(), image_kind_, image_placement_, image_, mask_);
}

Picture& Picture::set_image(Image image, int32_t slot) {
    if (slot == image_slot::kUp) image_ = image;
    if (slot == image_slot::kUpMask) mask_ = image;
    return *this;
}

Picture& Picture::set_image_kind(int32_t kind) {
    image_kind_ = kind;
    return *this;
}

Picture& Picture::set_image_placement(int32_t placement) {
    image_placement_ = placement;
    return *this;
}

}  // namespace tiltophon
