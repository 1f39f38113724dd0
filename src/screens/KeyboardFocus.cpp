// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pages without a pointer: Tab and Shift+Tab move a focus through the controls on
// screen in reading order, and the other keys use the focused control the way a
// finger would, through its own pen handling, so every key press ends in the same
// commands as a touch.
#include <algorithm>
#include <vector>

#include "app/AppState.h"
#include "platform/Platform.h"
#include "screens/Commands.h"
#include "screens/ControlIds.h"
#include "screens/Screens.h"
#include "settings/Skin.h"
#include "vavurud/Button.h"
#include "vavurud/Panel.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {

namespace {

constexpr int32_t kRingWidth = 3;

bool is_shown(const Control* control) {
    for (const Control* c = control; c; c = c->parent()) {
        if (!c->is_visible()) return false;
    }
    return control != nullptr;
}

void collect_focusable(Control& control, std::vector<Control*>& out) {
    if (!control.is_visible() || !control.is_enabled()) return;
    if (control.takes_focus() && control.accepts_pen()) out.push_back(&control);
    if (auto* panel = dynamic_cast<Panel*>(&control)) {
        for (Control* child : panel->children()) {
            if (child) collect_focusable(*child, out);
        }
    }
}

}  // namespace

std::vector<Control*> focus_order() {
    std::vector<Control*> controls;
    AppState& state = app();
    if (state.root_panel && state.root_panel->is_visible()) {
        collect_focusable(*state.root_panel, controls);
    }
    // Reading order: rows from the top, and left to right within a row.
    std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    return controls;
}

namespace {

Control* focused_on_screen() {
    Control* focus = app().keyboard_focus;
    return focus && is_shown(focus) && focus->takes_focus() ? focus : nullptr;
}

void set_focus(Control* control) {
    AppState& state = app();
    if (state.keyboard_focus) state.keyboard_focus->invalidate();
    state.keyboard_focus = control;
    if (control) control->invalidate();
}

void move_focus(bool backwards) {
    const std::vector<Control*> order = focus_order();
    if (order.empty()) return;
    const auto at = std::find(order.begin(), order.end(), focused_on_screen());
    std::size_t next = 0;
    if (at == order.end()) {
        next = backwards ? order.size() - 1 : 0;
    } else {
        const auto index = static_cast<std::size_t>(at - order.begin());
        next = backwards ? (index + order.size() - 1) % order.size() : (index + 1) % order.size();
    }
    set_focus(order[next]);
}

// A touch of the point and its release, given to the control alone.
void touch(Window* window, Control& control, Point point) {
    if (control.on_pen_down(window, 0, point.x, point.y) == 1 && control.vibrate_on_touch()) {
        pulse_vibrator(kTouchPulseMs);
    }
    control.on_pen_up(window, 0, point.x, point.y);
}

Point centre_of(const Rect& rect) {
    return {rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
}

bool is_page_shown(const Control* page) { return page && is_shown(page); }

void press(Window* window, Button* button) {
    if (button && is_shown(button)) touch(window, *button, centre_of(button->get_rect()));
}

void step_list(Window* window, int32_t rows) {
    SelectList* list = app().sound_list;
    if (!list || !is_shown(list)) return;
    list->stop_glide(window, ListScrollTimerId);
    set_focus(list);
    list->step_selection(window, rows);
}

void use_focused(Window* window) {
    AppState& state = app();
    Control* focus = focused_on_screen();
    if (!focus) return;
    // The list's Enter takes the selected sound, as OK does.
    if (focus == state.sound_list) {
        press(window, state.ok_button);
        return;
    }
    if (dynamic_cast<ValueSelector*>(focus)) return;
    touch(window, *focus, centre_of(focus->get_rect()));
}

void step_selector(Window* window, bool forward) {
    auto* selector = dynamic_cast<ValueSelector*>(focused_on_screen());
    if (!selector) return;
    touch(window, *selector,
          centre_of(forward ? selector->right_step_area() : selector->left_step_area()));
}

void on_escape(Window* window) {
    AppState& state = app();
    if (is_page_shown(state.pick_page)) {
        press(window, state.cancel_button);
    } else if (is_page_shown(state.about_page)) {
        press(window, state.back_button);
    }
}

}  // namespace

void on_focus_key(Window* window, uint32_t message, WParam code, LParam flags) {
    AppState& state = app();
    if (!window || message != msg::kKeyDown || !state.is_loaded()) return;
    const bool repeated = (flags & key::kRepeat) != 0;
    switch (code) {
        case key::kTab:
            move_focus((flags & key::kShift) != 0);
            break;
        case key::kLeft:
        case key::kRight:
            step_selector(window, code == key::kRight);
            break;
        case key::kUp:
        case key::kDown:
            step_list(window, code == key::kDown ? 1 : -1);
            break;
        // A held key uses its control once, not once per repetition.
        case key::kEnter:
        case key::kSpace:
            if (!repeated) use_focused(window);
            break;
        case key::kEscape:
            if (!repeated) on_escape(window);
            break;
        default:
            return;
    }
    if (!state.focus_ring_shown) {
        state.focus_ring_shown = true;
        window->invalidate(nullptr, true);
    }
}

void paint_focus_ring(Bitmap& frame) {
    AppState& state = app();
    if (!state.focus_ring_shown) return;
    const Control* focus = focused_on_screen();
    if (!focus) return;
    const Colour accent = state.skin ? state.skin->accent_colour() : Skin::kDefaultAccent;
    // Inside the control's own rectangle, so the ring never covers a neighbour.
    const Rect r = focus->get_rect();
    const int32_t w = std::min({kRingWidth, (r.right - r.left) / 2, (r.bottom - r.top) / 2});
    if (w <= 0) return;
    fill_rect(frame, {r.left, r.top, r.right, r.top + w}, accent);
    fill_rect(frame, {r.left, r.bottom - w, r.right, r.bottom}, accent);
    fill_rect(frame, {r.left, r.top + w, r.left + w, r.bottom - w}, accent);
    fill_rect(frame, {r.right - w, r.top + w, r.right, r.bottom - w}, accent);
}

}  // namespace tiltophon
