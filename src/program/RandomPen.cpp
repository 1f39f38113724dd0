// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/RandomPen.h"

#include "app/AppState.h"
#include "platform/Messages.h"
#include "vavurud/Panel.h"

namespace tiltophon {

namespace {

// The controls a user can see: shown, inside shown panels.
void collect_shown(const Control* control, std::vector<const Control*>& out) {
    if (!control || !control->is_visible()) return;
    out.push_back(control);
    if (const auto* panel = dynamic_cast<const Panel*>(control)) {
        for (const Control* child : panel->children()) collect_shown(child, out);
    }
}

}  // namespace

bool RandomPen::step(const Choose& choose) {
    if (program_.headless_window().is_destroyed()) return false;
    // Events of one step come in together, as from a quick hand, and are handled
    // before the next paint; time passing in a step handles them too.
    switch (choose(8)) {
        case 0:
            down(any_spot(choose));
            break;
        case 1:
            up(any_spot(choose));
            break;
        case 2:
            move(any_spot(choose));
            break;
        case 3:
        case 4: {  // a tap, perhaps with a wobble, on something shown
            const Spot spot = control_spot(choose);
            down(spot);
            if (choose(4) == 0)
                move({spot.x + int32_t(choose(9)) - 4, spot.y + int32_t(choose(9)) - 4});
            up(spot);
            break;
        }
        case 5: {  // a drag or a flick between two points
            const Spot from = control_spot(choose);
            const Spot to = choose(2) ? any_spot(choose) : control_spot(choose);
            const int steps = 1 + int(choose(8));
            const uint32_t duration = choose(600);
            down(from);
            uint32_t elapsed = 0;
            for (int i = 1; i <= steps; ++i) {
                const uint32_t due = duration * uint32_t(i) / uint32_t(steps);
                program_.advance(due - elapsed);
                elapsed = due;
                move({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
            }
            up(to);
            break;
        }
        case 6:
            program_.advance(choose(500));
            break;
        default: {  // pressed on one control, let go on another after a while
            down(control_spot(choose));
            program_.advance(choose(300));
            up(control_spot(choose));
            break;
        }
    }
    program_.headless.windows.pump();
    return true;
}

RandomPen::Spot RandomPen::any_spot(const Choose& choose) const {
    const ScreenInfo screen = program_.headless.windows.screen();
    // Now and then a point past the screen's edge, as a pen dragged off it reports.
    const uint32_t margin = choose(16) == 0 ? 64 : 0;
    return {int32_t(choose(uint32_t(screen.width) + margin)),
            int32_t(choose(uint32_t(screen.height) + margin))};
}

RandomPen::Spot RandomPen::control_spot(const Choose& choose) const {
    std::vector<const Control*> shown;
    collect_shown(app().root_panel, shown);
    if (shown.empty()) return any_spot(choose);
    const Control& control = *shown[choose(uint32_t(shown.size()))];
    const Rect rect = control.get_rect();
    if (rect.empty()) return {rect.left, rect.top};
    return {rect.left + int32_t(choose(uint32_t(rect.width()))),
            rect.top + int32_t(choose(uint32_t(rect.height())))};
}

bool RandomPen::reachable(const Spot& spot) const {
    for (const Control* control : avoided_) {
        if (control && control->is_visible() && control->get_rect().contains(spot.x, spot.y)) {
            return false;
        }
    }
    return true;
}

void RandomPen::down(const Spot& spot) {
    if (reachable(spot)) post(msg::kPenDown, spot);
}

void RandomPen::move(const Spot& spot) {
    post(msg::kPenMove, spot);
}

void RandomPen::up(const Spot& spot) {
    post(msg::kPenUp, spot);
}

// Positions travel as 16-bit words, as the window system's pen messages carry them.
void RandomPen::post(uint32_t message, const Spot& spot) {
    if (program_.headless_window().is_destroyed()) return;
    program_.window()->post_message(
        message, 0, make_point_param(static_cast<uint16_t>(spot.x), static_cast<uint16_t>(spot.y)));
    ++events_;
}

}  // namespace tiltophon
