// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/MotionDispatch.h"

#include <functional>
#include <utility>

#include "app/AppState.h"
#include "app/Vibration.h"
#include "motion/MotionMessage.h"
#include "platform/Platform.h"
#include "sound/SoundSlots.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {

namespace {

constexpr uint32_t kPulseMs = 25;

// Slot played by each motion code. The slots sit on the Home grid as a cross, so a
// swing towards a side plays the slot on that side: top, bottom, left, right, and the
// centre for a vertical swing.
int32_t slot_for_code(WParam code) {
    if (code < 1 || code > 5) return 0;
    switch (static_cast<MotionCode>(code)) {
        case MotionCode::kYNegative:
            return 1;
        case MotionCode::kYPositive:
            return 3;
        case MotionCode::kXNegative:
            return 4;
        case MotionCode::kXPositive:
            return 2;
        case MotionCode::kZ:
            return 5;
    }
    return 0;
}

void start_thread(std::function<void()> routine) {
    // A thread that cannot be started costs that sound or pulse, nothing more.
    if (ThreadRunner* threads = platform().threads) threads->start_detached(std::move(routine));
}

}  // namespace

void start_playback(const SoundEntry* entry) {
    if (entry) start_thread([entry] { playback_thread(entry); });
}

void stop_all_sounds() {
    if (SoundPlayer* audio = platform().audio) audio->stop_all();
}

LResult on_motion_message(Window* window, uint32_t message, WParam code, LParam second) {
    AppState& state = app();
    if (!state.is_loaded() || !state.sound_slots) return 0;
    int32_t slot = slot_for_code(code);
    if (slot == 0) return window ? window->default_proc(message, code, second) : 0;

    start_playback(state.sound_slots->Entry(slot));
    if (state.pulse_toggle && state.pulse_toggle->is_pressed()) {
        start_thread([] { vibration_thread(); });
    }
    return 0;
}

uint32_t playback_thread(const SoundEntry* entry) {
    SoundPlayer* audio = platform().audio;
    if (entry && audio) audio->play_file(entry->FilePath.view());
    return 1;
}

uint32_t vibration_thread() {
    vibration_pulse(kPulseMs);
    return 1;
}

}  // namespace tiltophon
