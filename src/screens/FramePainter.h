// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Window.h"

namespace tiltophon {

// How a page change moves from the picture being left (outgoing) to the page being
// entered (incoming). The animation clock carries the kind as its tag.
enum class Transition : int32_t {
    PushLeft = 1,
    PushRight = 2,
    PushUp = 3,
    PushDown = 4,
    CoverLeft = 5,
    UncoverLeft = 6,
    CoverRight = 7,
    UncoverRight = 8,
    CoverUp = 9,
    UncoverUp = 10,
    CoverDown = 11,
    UncoverDown = 12,
    FadeIn = 13,
    FadeOut = 14,
    BoxOpen = 15,
    BoxClose = 16,
};

constexpr uint32_t TransitionTimerId = 5;
constexpr uint32_t TransitionTickMs = 11;
// Every page change of the program lasts this long.
constexpr int32_t PageTransitionMs = 300;

// Takes the picture on screen and the page navigation has just made visible, and
// starts the clock. 0 when no transition starts (no clock, still loading, animations
// off, no root Panel): the caller then repaints at once.
int start_transition(Window* window, Transition kind, int32_t duration_ms);
// The routine of the transition timer: advances the clock and asks for a repaint.
void on_transition_tick(Window* window, uint32_t timer_id);

// One frame of `kind` at progress t, from the two pictures into `frame`, over the
// w x h rectangle at the origin. False for a kind outside 1 to 16. (The paint
// handling reaches this through compose_frame.)
bool compose_transition(Bitmap& frame, const Bitmap& outgoing, const Bitmap& incoming, int32_t kind,
                        double t, int32_t w, int32_t h);

// A page change ends this way: the transition, or a repaint of the whole window when
// none could start.
void finish_page_change(Window* window, Transition kind);

}  // namespace tiltophon
