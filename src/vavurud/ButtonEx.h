// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "vavurud/Button.h"

namespace tiltophon {

// A Button with a second line of text, drawn between the caption and the icon
// (the rows of the Sounds page: folder name above, file name below).
class ButtonEx : public Button {
public:
    ButtonEx(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;

    // An empty text leaves the second line as it was.
    ButtonEx& set_subtext(std::u16string_view text);
    // Copies the second line into a caller's 260-unit buffer; nothing for a null buffer.
    void get_subtext(char16_t* buffer) const;
    ButtonEx& set_subtext_font(FontHandle font);
    ButtonEx& set_subtext_colours(Colour normal, Colour pressed);
    ButtonEx& set_subtext_margins(int32_t left, int32_t top, int32_t right, int32_t bottom);
    ButtonEx& set_show_subtext(bool show);

    std::u16string_view subtext() const { return subtext_.view(); }

private:
    PathText subtext_;
    FontHandle subtext_font_ = nullptr;
    Colour subtext_colour_ = 0xFFFFFF;
    Colour subtext_pressed_colour_ = 0x000000;
    uint32_t subtext_format_ = text_format::kDefault;
    Margins subtext_margins_;
    bool show_subtext_ = false;
};

}  // namespace tiltophon
