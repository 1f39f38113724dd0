// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/ButtonEx.h"

namespace tiltophon {

ButtonEx::ButtonEx(Window* owner, uint32_t id)
    : Button(owner, id), subtext_margins_{scale_x(2), scale_y(1), scale_x(2), scale_y(1)} {}

void ButtonEx::draw(DrawContext& context) {
    draw_state(context);
    draw_caption_if_shown(context);
    if (show_subtext_) {
        const Margins& m = subtext_margins_;
        draw_text(context, subtext_.view(),
                  deflate_rect(get_rect(), m.left, m.top, m.right, m.bottom), subtext_format_,
                  pressed_ ? subtext_pressed_colour_ : subtext_colour_, subtext_font_);
    }
    draw_icon(context);
}

ButtonEx& ButtonEx::set_subtext(std::u16string_view text) {
    PathText copy(text);
    if (!copy.empty()) subtext_ = copy;
    return *this;
}

void ButtonEx::get_subtext(char16_t* buffer) const { copy_text_out(subtext_.view(), buffer); }

ButtonEx& ButtonEx::set_subtext_font(FontHandle font) {
    subtext_font_ = font;
    return *this;
}

ButtonEx& ButtonEx::set_subtext_colours(Colour normal, Colour pressed) {
    subtext_colour_ = normal;
    subtext_pressed_colour_ = pressed;
    return *this;
}

ButtonEx& ButtonEx::set_subtext_margins(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    subtext_margins_ = {left, top, right, bottom};
    return *this;
}

ButtonEx& ButtonEx::set_show_subtext(bool show) {
    show_subtext_ = show;
    return *this;
}

}  // namespace tiltophon
