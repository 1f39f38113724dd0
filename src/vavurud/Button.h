// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "vavurud/Control.h"
#include "vavurud/StateImages.h"

namespace tiltophon {

// A push button: its up, down or disabled image, optionally its caption, and
// optionally an icon laid over it with magenta as the transparent colour (the slot
// buttons show the picture of their sound this way). Pen handling is the base one.
class Button : public Control {
public:
    Button(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;
    bool takes_focus() const override { return true; }

    // Slots 1, 2, 3, 4, 9 and 10 hold the state images, 13 the icon; others are ignored.
    Button& set_image(Image image, int32_t slot);
    Button& set_image_kind(int32_t kind);
    Button& set_image_placement(int32_t placement);
    Button& set_show_text(bool show);
    Button& set_icon_visible(bool visible);
    Button& set_icon_margins(int32_t left, int32_t top, int32_t right, int32_t bottom);

    const StateImages& images() const { return images_; }
    Image icon_image() const { return icon_image_; }
    bool shows_text() const { return show_text_; }
    bool icon_visible() const { return icon_visible_; }
    const Margins& icon_margins() const { return icon_margins_; }

protected:
    void draw_state(DrawContext& context) const;
    void draw_caption_if_shown(DrawContext& context) const;
    void draw_icon(DrawContext& context) const;

private:
    StateImages images_;
    bool show_text_ = false;
    Image icon_image_ = nullptr;
    bool icon_visible_ = true;
    Margins icon_margins_;
};

}  // namespace tiltophon
