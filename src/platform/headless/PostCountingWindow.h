// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>

#include "platform/Window.h"

namespace tiltophon {

// A window that only counts the messages posted to it, by their first parameter, and
// does nothing else: no queue, no allocation. For measuring or checking code that posts
// (a motion detector's step) on its own.
class PostCountingWindow : public Window {
public:
    void post_message(uint32_t, WParam first, LParam) override {
        ++posted;
        if (first < by_first.size()) ++by_first[first];
    }
    LResult send_message(uint32_t, WParam, LParam) override { return 0; }
    LResult default_proc(uint32_t, WParam, LParam) override { return 0; }
    void set_timer(uint32_t, uint32_t, TimerRoutine) override {}
    void kill_timer(uint32_t) override {}
    void invalidate(const Rect*, bool) override {}
    void update() override {}
    void present(const Bitmap&) override {}
    void show(ShowCommand) override {}
    void raise() override {}
    void set_full_screen(bool) override {}
    Rect client_rect() const override { return {}; }

    long posted = 0;
    // Counts for first parameters 0 to 7; larger ones count only in `posted`.
    std::array<long, 8> by_first{};
};

}  // namespace tiltophon
