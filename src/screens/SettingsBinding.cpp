// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <utility>

#include "app/AppState.h"
#include "motion/MotionDetector.h"
#include "motion/Sensitivity.h"
#include "platform/Platform.h"
#include "screens/Screens.h"
#include "settings/Settings.h"
#include "sound/SoundSlots.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {

namespace {

constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);

void set_caption_on_off(CheckButton& toggle) {
    toggle.set_text(switch_caption(toggle.is_pressed()));
}

}  // namespace

int32_t apply_settings() {
    AppState& state = app();
    const Settings* settings = state.settings;
    if (!settings) return kOutOfMemory;

    const std::pair<MotionDetector*, int32_t> detectors[] = {
        {state.detector_x, settings->SensitivityX},
        {state.detector_y, settings->SensitivityY},
        {state.detector_z, settings->SensitivityZ},
    };
    for (auto [detector, sensitivity] : detectors) {
        if (!detector) return kOutOfMemory;
        apply_sensitivity(*detector, sensitivity);
    }

    // Index value - 1: a value of 0 selects nothing, one past the list is ignored.
    const std::pair<ValueSelector*, int32_t> selectors[] = {
        {state.x_sensitivity_selector, settings->SensitivityX},
        {state.y_sensitivity_selector, settings->SensitivityY},
        {state.z_sensitivity_selector, settings->SensitivityZ},
    };
    for (auto [selector, sensitivity] : selectors) {
        if (!selector) return kOutOfMemory;
        selector->select(sensitivity - 1);
    }

    const std::pair<CheckButton*, bool> checks[] = {
        {state.x_button_close_check, settings->XButtonClose},
        {state.animations_check, settings->AnimationsOn},
        {state.touch_vibrations_check, settings->VibrationsOn},
        {state.pulse_toggle, settings->PulseVibrationsOn},
        {state.sounds_overlap_check, settings->SoundsOverlap},
    };
    for (auto [check, on] : checks) {
        if (!check) return kOutOfMemory;
        check->set_pressed(on);
    }
    set_caption_on_off(*state.pulse_toggle);
    set_touch_vibration(settings->VibrationsOn);
    apply_sounds_overlap();
    state.settings_applied = true;
    return 0;
}

int32_t collect_settings() {
    AppState& state = app();
    Settings* settings = state.settings;
    if (!settings) return kOutOfMemory;
    // Before the settings reached the controls, the controls show how they were
    // built (empty rows, no selection, nothing checked): saving that would wipe the
    // stored settings, so the record keeps what was loaded.
    if (!state.settings_applied) return 0;

    for (int n = 1; n <= Settings::kSlotCount; ++n) {
        const ButtonEx* row = state.sound_rows[n];
        if (!row) return kOutOfMemory;
        // A sound that could not be found at this start (a set renamed or away, an
        // unreadable library) stays saved until the user picks another one.
        if (state.sound_slots && state.sound_slots->KeepsSavedSound(n)) continue;
        settings->SlotFolder(n) = row->text();
        settings->SlotName(n) = row->subtext();
    }

    const std::pair<const ValueSelector*, int32_t Settings::*> selectors[] = {
        {state.x_sensitivity_selector, &Settings::SensitivityX},
        {state.y_sensitivity_selector, &Settings::SensitivityY},
        {state.z_sensitivity_selector, &Settings::SensitivityZ},
    };
    for (auto [selector, field] : selectors) {
        if (!selector) return kOutOfMemory;
        settings->*field = selector->get_selected_value();
    }

    const std::pair<const CheckButton*, bool Settings::*> checks[] = {
        {state.x_button_close_check, &Settings::XButtonClose},
        {state.animations_check, &Settings::AnimationsOn},
        {state.touch_vibrations_check, &Settings::VibrationsOn},
        {state.pulse_toggle, &Settings::PulseVibrationsOn},
        {state.sounds_overlap_check, &Settings::SoundsOverlap},
    };
    for (auto [check, field] : checks) {
        if (!check) return kOutOfMemory;
        settings->*field = check->is_pressed();
    }
    return 0;
}

void apply_sounds_overlap() {
    const CheckButton* check = app().sounds_overlap_check;
    if (SoundPlayer* player = platform().audio; player && check) {
        player->set_overlap(check->is_pressed());
    }
}

void set_touch_vibration(bool on) {
    AppState& s = app();
    Control* const controls[] = {
        s.close_button,
        s.about_button,
        s.home_tab,
        s.sounds_tab,
        s.settings_tab,
        s.donate_button,
        s.back_button,
        s.sound_list,
        s.ok_button,
        s.cancel_button,
        s.record_button,
        s.slot_buttons[1],
        s.slot_buttons[2],
        s.slot_buttons[3],
        s.slot_buttons[4],
        s.slot_buttons[5],
        s.motion_toggle,
        s.pulse_toggle,
        s.sound_rows[1],
        s.sound_rows[2],
        s.sound_rows[3],
        s.sound_rows[4],
        s.sound_rows[5],
        s.play_buttons[1],
        s.play_buttons[2],
        s.play_buttons[3],
        s.play_buttons[4],
        s.play_buttons[5],
        s.x_sensitivity_selector,
        s.y_sensitivity_selector,
        s.z_sensitivity_selector,
        s.x_button_close_check,
        s.animations_check,
        s.touch_vibrations_check,
        s.sounds_overlap_check,
    };
    static_assert(sizeof(controls) / sizeof(controls[0]) == 35);
    for (Control* control : controls) {
        if (control) control->set_vibrate_on_touch(on);
    }
}

}  // namespace tiltophon
