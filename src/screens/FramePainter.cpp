// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/FramePainter.h"

#include "app/AppState.h"
#include "platform/Platform.h"
#include "screens/Screens.h"
#include "vavurud/AnimationClock.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Draw.h"
#include "vavurud/Panel.h"

namespace tiltophon {

namespace {

constexpr Colour kBlack = 0x000000;

// Plain copy of a block of `source` to `frame`; an empty block copies nothing.
void copy(Bitmap& frame, const Bitmap& source, int32_t from_x, int32_t from_y, int32_t to_x,
          int32_t to_y, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    copy_block(frame, to_x, to_y, width, height, source, from_x, from_y);
}

void whole(Bitmap& frame, const Bitmap& source, int32_t w, int32_t h) {
    copy(frame, source, 0, 0, 0, 0, w, h);
}

// The bw x bh block in the middle of a w x h picture, copied in place.
void box(Bitmap& frame, const Bitmap& source, int32_t w, int32_t h, int32_t bw, int32_t bh) {
    int32_t bx = (w - bw) / 2;
    int32_t by = (h - bh) / 2;
    copy(frame, source, bx, by, bx, by, bw, bh);
}

}  // namespace

bool compose_transition(Bitmap& frame, const Bitmap& outgoing, const Bitmap& incoming, int32_t kind,
                        double t, int32_t w, int32_t h) {
    const Bitmap& o = outgoing;
    const Bitmap& i = incoming;
    // Offsets of the sliding kinds: how far the movement has gone across and down.
    const auto kx = static_cast<int32_t>(w * t);
    const auto ky = static_cast<int32_t>(h * t);
    switch (static_cast<Transition>(kind)) {
        case Transition::PushLeft:
            copy(frame, o, kx, 0, 0, 0, w - kx, h);
            copy(frame, i, 0, 0, w - kx, 0, kx, h);
            return true;
        case Transition::PushRight:
            copy(frame, i, w - kx, 0, 0, 0, kx, h);
            copy(frame, o, 0, 0, kx, 0, w - kx, h);
            return true;
        case Transition::PushUp:
            copy(frame, o, 0, ky, 0, 0, w, h - ky);
            copy(frame, i, 0, 0, 0, h - ky, w, ky);
            return true;
        case Transition::PushDown:
            copy(frame, i, 0, h - ky, 0, 0, w, ky);
            copy(frame, o, 0, 0, 0, ky, w, h - ky);
            return true;
        case Transition::CoverLeft:
            whole(frame, o, w, h);
            copy(frame, i, 0, 0, w - kx, 0, kx, h);
            return true;
        case Transition::UncoverLeft:
            whole(frame, i, w, h);
            copy(frame, o, kx, 0, 0, 0, w - kx, h);
            return true;
        case Transition::CoverRight:
            whole(frame, o, w, h);
            copy(frame, i, w - kx, 0, 0, 0, kx, h);
            return true;
        case Transition::UncoverRight:
            whole(frame, i, w, h);
            copy(frame, o, 0, 0, kx, 0, w - kx, h);
            return true;
        case Transition::CoverUp:
            whole(frame, o, w, h);
            copy(frame, i, 0, 0, 0, h - ky, w, ky);
            return true;
        case Transition::UncoverUp:
            whole(frame, i, w, h);
            copy(frame, o, 0, ky, 0, 0, w, h - ky);
            return true;
        case Transition::CoverDown:
            whole(frame, o, w, h);
            copy(frame, i, 0, h - ky, 0, 0, w, ky);
            return true;
        case Transition::UncoverDown:
            whole(frame, i, w, h);
            copy(frame, o, 0, 0, 0, ky, w, h - ky);
            return true;
        case Transition::FadeIn:
            alpha_blend_over(frame, o, i, w, h, static_cast<uint32_t>(t * 255.0));
            return true;
        case Transition::FadeOut:
            alpha_blend_over(frame, i, o, w, h, static_cast<uint32_t>(255.0 - t * 255.0));
            return true;
        case Transition::BoxOpen:
            whole(frame, o, w, h);
            box(frame, i, w, h, kx, ky);
            return true;
        case Transition::BoxClose:
            whole(frame, i, w, h);
            // w - w x t truncated as a whole, not w minus the truncated offset.
            box(frame, o, w, h, static_cast<int32_t>(w - w * t), static_cast<int32_t>(h - h * t));
            return true;
    }
    return false;
}

int start_transition(Window* window, Transition kind, int32_t duration_ms) {
    AppState& state = app();
    AnimationClock* clock = state.animation_clock;
    if (!clock || !state.is_loaded() || !state.animations_check ||
        !state.animations_check->is_pressed()) {
        return 0;
    }
    clock->set_kind(static_cast<int32_t>(kind));
    clock->set_duration(duration_ms);

    ScreenInfo screen;
    if (WindowSystem* windows = platform().windows) screen = windows->screen();
    const Rect all{0, 0, screen.width, screen.height};
    fill_rect(state.outgoing_buffer, all, kBlack);
    fill_rect(state.incoming_buffer, all, kBlack);
    copy_block(state.outgoing_buffer, 0, 0, screen.width, screen.height, state.frame_buffer, 0, 0);

    if (!state.root_panel) return 0;
    state.root_panel->paint(state.incoming_buffer);
    clock->start(window, TransitionTimerId, TransitionTickMs, on_transition_tick);
    return 1;
}

void on_transition_tick(Window* window, uint32_t) {
    AppState& state = app();
    if (!state.animation_clock) return;
    state.animation_clock->tick(window, TransitionTimerId);
    if (state.main_window) state.main_window->invalidate(nullptr, true);
}

bool compose_frame(Window*, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    AppState& state = app();
    const AnimationClock* clock = state.animation_clock;
    if (!clock || !clock->is_running()) return false;
    return compose_transition(state.frame_buffer, state.outgoing_buffer, state.incoming_buffer,
                              clock->kind(), clock->progress(), right - left, bottom - top);
}

void finish_page_change(Window* window, Transition kind) {
    if (start_transition(window, kind, PageTransitionMs)) return;
    if (Window* main = app().main_window) main->invalidate(nullptr, true);
}

}  // namespace tiltophon
