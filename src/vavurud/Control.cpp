// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/Control.h"

namespace tiltophon {

Control::Control(Window* owner, uint32_t id)
    : owner_(owner),
      id_(id),
      width_(scale_x(50)),
      height_(scale_y(20)),
      text_margins_{scale_x(2), scale_y(1), scale_x(2), scale_y(1)} {}

void Control::draw(DrawContext&) {}

int Control::pen_down(Window* window, uint32_t, int32_t x, int32_t y) {
    pressed_ = hit_test(x, y);
    invalidate();
    if (!pressed_) return 0;
    notify(window, NotifyDown);
    return 1;
}

int Control::pen_move(Window* window, uint32_t, int32_t x, int32_t y) {
    if (!pressed_) return 0;
    // Once the pen has left, the control stays released until the next pen-down.
    pressed_ = hit_test(x, y);
    invalidate();
    notify(window, NotifyDrag);
    return 1;
}

int Control::pen_up(Window* window, uint32_t, int32_t x, int32_t y) {
    if (!pressed_) return 0;
    if (!hit_test(x, y)) {
        // Released elsewhere without a move in between: the pressed look must go.
        pressed_ = false;
        invalidate();
        return 0;
    }
    pressed_ = false;
    invalidate();
    notify(window, NotifyUp);
    notify(window, NotifyClick);
    return 1;
}

void Control::paint(DrawContext& context) {
    if (visible_) draw(context);
}

int Control::on_pen_down(Window* window, uint32_t flags, int32_t x, int32_t y) {
    if (!visible_ || !enabled_ || !accepts_pen_) return 0;
    return pen_down(window, flags, x, y);
}

int Control::on_pen_up(Window* window, uint32_t flags, int32_t x, int32_t y) {
    if (!visible_ || !enabled_ || !accepts_pen_) return 0;
    return pen_up(window, flags, x, y);
}

int Control::on_pen_move(Window* window, uint32_t flags, int32_t x, int32_t y) {
    if (!visible_ || !enabled_ || !accepts_pen_) return 0;
    return pen_move(window, flags, x, y);
}

bool Control::hit_test(int32_t x, int32_t y) const { return visible_ && get_rect().contains(x, y); }

void Control::invalidate() {
    if (!owner_) return;
    Rect rect = get_rect();
    owner_->invalidate(&rect, true);
}

Control& Control::set_rect(int32_t x, int32_t y, int32_t width, int32_t height) {
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
    return *this;
}

Control& Control::set_visible(bool visible) {
    visible_ = visible;
    return *this;
}

Control& Control::set_enabled(bool enabled) {
    enabled_ = enabled;
    return *this;
}

Control& Control::set_vibrate_on_touch(bool on) {
    vibrate_on_touch_ = on;
    return *this;
}

Control& Control::set_pressed(bool pressed) {
    pressed_ = pressed;
    return *this;
}

Control& Control::set_font(FontHandle font) {
    font_ = font;
    return *this;
}

Control& Control::set_text_colours(Colour normal, Colour pressed) {
    text_colour_ = normal;
    pressed_text_colour_ = pressed;
    return *this;
}

Control& Control::set_text_format(uint32_t format) {
    text_format_ = format;
    return *this;
}

Control& Control::set_text_margins(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    text_margins_ = {left, top, right, bottom};
    return *this;
}

Control& Control::set_text(std::u16string_view text) {
    PathText copy(text);
    if (!copy.empty()) text_ = copy;
    return *this;
}

void Control::get_text(char16_t* buffer) const { copy_text_out(text_.view(), buffer); }

void Control::copy_text_out(std::u16string_view text, char16_t* buffer) {
    if (!buffer) return;
    text.copy(buffer, text.size());
    buffer[text.size()] = 0;
}

void Control::notify(Window* window, NotifyCode code) {
    if (!window) return;
    window->send_message(msg::kCommand, command_param(code, id_), reinterpret_cast<LParam>(this));
}

Control& Control::set_fit_text(bool fit) {
    fit_text_ = fit;
    return *this;
}

Rect Control::caption_rect() const {
    const Margins& m = text_margins_;
    return deflate_rect(get_rect(), m.left, m.top, m.right, m.bottom);
}

void Control::draw_caption(DrawContext& context, Colour colour) const {
    if (fit_text_) {
        draw_fitted_text(context, text_.view(), caption_rect(), text_format_, colour, font_);
    } else {
        draw_text(context, text_.view(), caption_rect(), text_format_, colour, font_);
    }
}

}  // namespace tiltophon
