// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/ValueSelector.h"

#include <algorithm>
#include <limits>

namespace tiltophon {

ValueSelector::ValueSelector(Window* owner, uint32_t id) : Control(owner, id) {}

Rect ValueSelector::left_step_area() const {
    return {x(), y(), x() + height(), y() + height()};
}

Rect ValueSelector::right_step_area() const {
    return {x() + width() - height(), y(), x() + width(), y() + height()};
}

Rect ValueSelector::value_area() const {
    const Margins& m = text_margins();
    Rect between{x() + height(), y(), x() + width() - height(), y() + height()};
    return deflate_rect(between, m.left, m.top, m.right, m.bottom);
}

void ValueSelector::draw(DrawContext& context) {
    Image image = nullptr;
    Image mask = nullptr;
    if (!is_enabled()) {
        image = disabled_image_;
        mask = disabled_mask_;
    } else if (!pressed_) {
        image = up_image_;
        mask = up_mask_;
    } else if (left_pressed_) {
        image = down_left_image_;
        mask = down_left_mask_;
    } else if (right_pressed_) {
        image = down_right_image_;
        mask = down_right_mask_;
    }
    draw_state_image(context, get_rect(), image_kind_, image_placement_, image, mask);
    if (selected_ >= 0) {
        draw_text(context, values_[selected_].view(), value_area(), text_format(), text_colour(),
                  font());
    }
}

int ValueSelector::pen_down(Window* window, uint32_t, int32_t x, int32_t y) {
    if (left_step_area().contains(x, y)) {
        left_pressed_ = true;
        right_pressed_ = false;
    } else if (right_step_area().contains(x, y)) {
        left_pressed_ = false;
        right_pressed_ = true;
    } else {
        release();
        invalidate();
        return 0;
    }
    pressed_ = true;
    invalidate();
    notify(window, NotifyDown);
    return 1;
}

// A press completes only where it began; the pen may slide meanwhile, but a press
// that slides from one end to the other and is released there changes nothing.
int ValueSelector::pen_up(Window* window, uint32_t, int32_t x, int32_t y) {
    if (!pressed_) {
        release();
        invalidate();
        return 0;
    }
    if (left_pressed_ && left_step_area().contains(x, y)) {
        release();
        if (selected_ > 0) select(selected_ - 1);
    } else if (right_pressed_ && right_step_area().contains(x, y)) {
        release();
        select_next();
    } else {
        release();
        invalidate();
        return 0;
    }
    invalidate();
    // Sent after every completed press, also when the value was already at its end.
    notify(window, NotifyUp);
    notify(window, NotifyChange);
    return 1;
}

int ValueSelector::pen_move(Window*, uint32_t, int32_t, int32_t) { return 0; }

void ValueSelector::release() {
    pressed_ = false;
    left_pressed_ = false;
    right_pressed_ = false;
}

ValueSelector& ValueSelector::add_value(std::u16string_view value) {
    values_.emplace_back(value);
    return *this;
}

ValueSelector& ValueSelector::select(int32_t index) {
    if (!values_.empty() && index <= value_count() - 1) selected_ = index;
    return *this;
}

ValueSelector& ValueSelector::select_next() {
    // Any negative selection means none, and stepping on from none reaches the
    // first value in one step.
    if (selected_ < 0) return select(0);
    if (selected_ != value_count() - 1) select(selected_ + 1);
    return *this;
}

void ValueSelector::get_selected_text(char16_t* buffer) const {
    if (values_.empty() || selected_ < 0) return;
    copy_text_out(values_[selected_].view(), buffer);
}

int32_t ValueSelector::get_selected_value() const {
    if (selected_ < 0) return 0;
    return parse_decimal(values_[selected_].view());
}

ValueSelector& ValueSelector::set_image(Image image, int32_t slot) {
    switch (slot) {
        case image_slot::kUp: up_image_ = image; break;
        case image_slot::kUpMask: up_mask_ = image; break;
        case image_slot::kDownLeft: down_left_image_ = image; break;
        case image_slot::kDownLeftMask: down_left_mask_ = image; break;
        case image_slot::kDownRight: down_right_image_ = image; break;
        case image_slot::kDownRightMask: down_right_mask_ = image; break;
        default: break;
    }
    return *this;
}

ValueSelector& ValueSelector::set_image_kind(int32_t kind) {
    image_kind_ = kind;
    return *this;
}

ValueSelector& ValueSelector::set_image_placement(int32_t placement) {
    image_placement_ = placement;
    return *this;
}

int32_t parse_decimal(std::u16string_view text) {
    auto is_space = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    std::size_t i = 0;
    while (i < text.size() && is_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = std::min(kLimit, magnitude * 10 + (text[i] - u'0'));
    }
    int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<int32_t>(value);
}

}  // namespace tiltophon
