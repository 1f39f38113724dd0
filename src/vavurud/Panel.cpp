// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/Panel.h"

#include "platform/Platform.h"

namespace tiltophon {

Panel::Panel(Window* owner, uint32_t id) : Control(owner, id) {}

void Panel::draw(DrawContext& context) {
    if (!is_visible()) return;
    for (Control* child : children_) {
        if (child && child->is_visible()) child->paint(context);
    }
}

// Every eligible child sees the event, even after another one has handled it; the
// result is the last child's.
template <typename Route>
int Panel::route(Route&& to_child) {
    if (!is_visible()) return 0;
    int result = 0;
    for (Control* child : children_) {
        if (!child || !child->is_visible() || !child->is_enabled()) continue;
        result = to_child(*child);
    }
    return result;
}

int Panel::pen_down(Window* window, uint32_t flags, int32_t x, int32_t y) {
    return route([&](Control& child) {
        int handled = child.on_pen_down(window, flags, x, y);
        if (handled == 1 && child.vibrate_on_touch()) pulse_vibrator(kTouchPulseMs);
        return handled;
    });
}

int Panel::pen_up(Window* window, uint32_t flags, int32_t x, int32_t y) {
    return route([&](Control& child) { return child.on_pen_up(window, flags, x, y); });
}

int Panel::pen_move(Window* window, uint32_t flags, int32_t x, int32_t y) {
    return route([&](Control& child) { return child.on_pen_move(window, flags, x, y); });
}

void Panel::add_child(Control* child) {
    if (!child) return;
    child->parent_ = this;
    children_.push_back(child);
}

}  // namespace tiltophon
