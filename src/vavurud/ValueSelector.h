// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include "vavurud/Control.h"

namespace tiltophon {

// One value out of an ordered list, with a square step area at each end: the left
// one steps back, the right one forward. Stepping stops at both ends; it never wraps.
class ValueSelector : public Control {
public:
    ValueSelector(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;
    bool takes_focus() const override { return true; }
    int pen_down(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_up(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_move(Window* window, uint32_t flags, int32_t x, int32_t y) override;

    // Appends the value, cut to the 259 units a value holds.
    ValueSelector& add_value(std::u16string_view value);
    // An index past the last value is ignored; a negative one means no selection.
    ValueSelector& select(int32_t index);
    ValueSelector& select_next();
    // Copies the selected value into a caller's 260-unit buffer when there is one.
    void get_selected_text(char16_t* buffer) const;
    // The selected value read as a decimal number; 0 when nothing is selected.
    int32_t get_selected_value() const;

    // Slots 1 and 2 are the idle look, 5 and 6 the left end held, 7 and 8 the right
    // end held; others are ignored.
    ValueSelector& set_image(Image image, int32_t slot);
    ValueSelector& set_image_kind(int32_t kind);
    ValueSelector& set_image_placement(int32_t placement);

    int32_t selected() const { return selected_; }
    int32_t value_count() const { return static_cast<int32_t>(values_.size()); }
    std::u16string_view value(int32_t index) const { return values_.at(index).view(); }
    bool left_pressed() const { return left_pressed_; }
    bool right_pressed() const { return right_pressed_; }

    // Squares as wide as the control is high at either end; where they overlap
    // (a control narrower than twice its height) the left one wins.
    Rect left_step_area() const;
    Rect right_step_area() const;
    // Between the step areas, inside the text margins.
    Rect value_area() const;

private:
    void release();

    std::vector<PathText> values_;
    bool left_pressed_ = false;
    bool right_pressed_ = false;
    Image up_image_ = nullptr;
    Image up_mask_ = nullptr;
    Image down_left_image_ = nullptr;
    Image down_left_mask_ = nullptr;
    Image down_right_image_ = nullptr;
    Image down_right_mask_ = nullptr;
    // No setter reaches these: a disabled selector draws nothing of its own.
    Image disabled_image_ = nullptr;
    Image disabled_mask_ = nullptr;
    int32_t image_kind_ = kImagePlain;
    int32_t image_placement_ = kPlaceCentred;
    int32_t selected_ = -1;
};

// Reads a decimal integer the way the C library does: leading white space and one
// sign allowed, stopping at the first non-digit, 0 when there is no digit. Values
// beyond the 32-bit range saturate.
int32_t parse_decimal(std::u16string_view text);

}  // namespace tiltophon
