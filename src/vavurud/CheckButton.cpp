// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/CheckButton.h"

namespace tiltophon {

CheckButton::CheckButton(Window* owner, uint32_t id) : Control(owner, id) {}

void CheckButton::draw(DrawContext& context) {
    images_.draw(context, get_rect(), is_enabled(), pressed_);
    if (show_text_) draw_caption(context, pressed_ ? pressed_text_colour() : text_colour());
}

int CheckButton::pen_down(Window* window, uint32_t, int32_t x, int32_t y) {
    if (!hit_test(x, y) || locked_) return 0;
    pressed_ = !pressed_;
    invalidate();
    notify(window, NotifyToggle);
    return 1;
}

int CheckButton::pen_up(Window*, uint32_t, int32_t, int32_t) { return 0; }

int CheckButton::pen_move(Window*, uint32_t, int32_t, int32_t) { return 0; }

CheckButton& CheckButton::set_image(Image image, int32_t slot) {
    images_.set(image, slot);
    return *this;
}

CheckButton& CheckButton::set_image_kind(int32_t kind) {
    images_.kind = kind;
    return *this;
}

CheckButton& CheckButton::set_image_placement(int32_t placement) {
    images_.placement = placement;
    return *this;
}

CheckButton& CheckButton::set_locked(bool locked) {
    locked_ = locked;
    return *this;
}

CheckButton& CheckButton::set_show_text(bool show) {
    show_text_ = show;
    return *this;
}

}  // namespace tiltophon
