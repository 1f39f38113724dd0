// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AppState.h"
#include "motion/MotionDispatch.h"
#include "platform/Platform.h"
#include "screens/ControlIds.h"
#include "screens/Screens.h"
#include "vavurud/Button.h"
#include "vavurud/Panel.h"

namespace tiltophon {

namespace {

void show_pressed(Button& button, bool pressed) {
    button.set_pressed(pressed);
    button.invalidate();
}

// Key 0 and the Stop media key end every sound playing.
bool is_stop_key(WParam key) {
    return key == static_cast<WParam>(u'0') || key == key::kStop;
}

}  // namespace

// A key stands in for a finger on the slot's button: the button looks pressed while
// the key is down, and the press goes the button's own way, its pen-down command
// first and then the touch pulse when touch vibrations are on, wherever the button is.
void on_slot_key(Window* window, uint32_t message, WParam key) {
    AppState& state = app();
    constexpr auto kFirstKey = static_cast<WParam>(u'1');
    if (!window || !state.is_loaded()) return;
    if (is_stop_key(key)) {
        if (message == msg::kKeyDown) stop_all_sounds();
        return;
    }
    if (key < kFirstKey || key >= kFirstKey + kSlotKeyCount) {
        return;
    }
    auto slot = static_cast<int32_t>(key - kFirstKey) + 1;
    Button* button = state.slot_buttons[slot];
    if (message == msg::kKeyUp) {
        if (button && button->is_pressed()) show_pressed(*button, false);
        return;
    }
    if (message != msg::kKeyDown) return;
    if (button) show_pressed(*button, true);
    window->send_message(msg::kCommand, command_param(NotifyDown, control_id::slot_button(slot)),
                         reinterpret_cast<LParam>(button));
    if (button && button->vibrate_on_touch()) pulse_vibrator(kTouchPulseMs);
}

}  // namespace tiltophon
