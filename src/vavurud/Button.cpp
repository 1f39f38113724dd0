// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/Button.h"

namespace tiltophon {

Button::Button(Window* owner, uint32_t id)
    : Control(owner, id), icon_margins_{scale_x(2), scale_y(1), scale_x(2), scale_y(1)} {}

void Button::draw(DrawContext& context) {
    draw_state(context);
    draw_caption_if_shown(context);
    draw_icon(context);
}

void Button::draw_state(DrawContext& context) const {
    images_.draw(context, get_rect(), is_enabled(), pressed_);
}

void Button::draw_caption_if_shown(DrawContext& context) const {
    if (show_text_) draw_caption(context, pressed_ ? pressed_text_colour() : text_colour());
}

void Button::draw_icon(DrawContext& context) const {
    if (!icon_visible_ || !icon_image_) return;
    const Margins& m = icon_margins_;
    blit_stretched_transparent(context, deflate_rect(get_rect(), m.left, m.top, m.right, m.bottom),
                               icon_image_, kKeyColour);
}

Button& Button::set_image(Image image, int32_t slot) {
    if (slot == image_slot::kIcon) {
        icon_image_ = image;
    } else {
        images_.set(image, slot);
    }
    return *this;
}

Button& Button::set_image_kind(int32_t kind) {
    images_.kind = kind;
    return *this;
}

Button& Button::set_image_placement(int32_t placement) {
    images_.placement = placement;
    return *this;
}

Button& Button::set_show_text(bool show) {
    show_text_ = show;
    return *this;
}

Button& Button::set_icon_visible(bool visible) {
    icon_visible_ = visible;
    return *this;
}

Button& Button::set_icon_margins(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    icon_margins_ = {left, top, right, bottom};
    return *this;
}

}  // namespace tiltophon
