// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "vavurud/Control.h"
#include "vavurud/StateImages.h"

namespace tiltophon {

// A button that toggles on pen-down and shows its checked (pressed) or unchecked
// look. Locked, it ignores the pen: the tab of the page on show is locked.
class CheckButton : public Control {
public:
    CheckButton(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;
    bool takes_focus() const override { return true; }
    int pen_down(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_up(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_move(Window* window, uint32_t flags, int32_t x, int32_t y) override;

    CheckButton& set_image(Image image, int32_t slot);
    CheckButton& set_image_kind(int32_t kind);
    CheckButton& set_image_placement(int32_t placement);
    CheckButton& set_locked(bool locked);
    CheckButton& set_show_text(bool show);

    bool is_locked() const { return locked_; }
    const StateImages& images() const { return images_; }

private:
    StateImages images_;
    bool locked_ = false;
    bool show_text_ = false;
};

}  // namespace tiltophon
