// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include "vavurud/Control.h"

namespace tiltophon {

// The pulse a control that vibrates on touch gives when it takes a pen-down.
constexpr uint32_t kTouchPulseMs = 25;

// A group of controls. Drawing and pen events go to every child in the order they
// were added; a Panel does not own its children.
class Panel : public Control {
public:
    Panel(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;
    int pen_down(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_up(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_move(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    virtual void add_child(Control* child);

    const std::vector<Control*>& children() const { return children_; }

private:
    template <typename Route>
    int route(Route&& to_child);

    std::vector<Control*> children_;
};

}  // namespace tiltophon
