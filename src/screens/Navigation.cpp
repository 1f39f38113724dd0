// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AppState.h"
#include "app/KeepAwakeTimer.h"
#include "motion/MotionPolling.h"
#include "platform/Platform.h"
#include "screens/ControlIds.h"
#include "screens/Screens.h"
#include "vavurud/Button.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Panel.h"

namespace tiltophon {

namespace {

namespace id = control_id;

void set_visible(Control* control, bool visible) {
    if (control) control->set_visible(visible);
}

void repaint_if(bool repaint) {
    if (!repaint) return;
    if (Window* window = app().main_window) window->invalidate(nullptr, true);
}

}  // namespace

std::u16string switch_caption(bool on) {
    return on ? translated(u"On") : translated(u"Off");
}

void stop_motion_and_keep_awake() {
    AppState& state = app();
    // The start-up's own call comes from the loader thread, before anything could
    // have been started; the window's timers are the main thread's to touch.
    const bool on_main_thread = state.is_loaded();
    if (on_main_thread) stop_motion();
    if (CheckButton* toggle = state.motion_toggle) {
        toggle->set_pressed(false);
        toggle->set_text(switch_caption(false));
    }
    if (KeepAwakeTimer* keep_awake = state.keep_awake; keep_awake && on_main_thread) {
        keep_awake->stop();
    }
}

void show_frame(uint32_t screen_id, bool repaint) {
    stop_motion_and_keep_awake();
    if (screen_id == id::kFramePanel) set_visible(app().frame_panel, true);
    repaint_if(repaint);
}

void show_screen(uint32_t screen_id, bool repaint) {
    stop_motion_and_keep_awake();
    if (screen_id == id::kMainPanel || screen_id == id::kAboutPage || screen_id == id::kPickPage) {
        AppState& state = app();
        set_visible(state.main_panel, screen_id == id::kMainPanel);
        set_visible(state.about_page, screen_id == id::kAboutPage);
        set_visible(state.pick_page, screen_id == id::kPickPage);
    }
    repaint_if(repaint);
}

void show_tab(uint32_t page_id, bool from_tap, bool repaint) {
    stop_motion_and_keep_awake();
    if (page_id == id::kHomePage || page_id == id::kSoundsPage || page_id == id::kSettingsPage) {
        AppState& state = app();
        set_visible(state.about_button, page_id == id::kSettingsPage);
        struct Tab {
            uint32_t page_id;
            CheckButton* tab;
            Panel* page;
        };
        const Tab tabs[] = {
            {id::kHomePage, state.home_tab, state.home_page},
            {id::kSoundsPage, state.sounds_tab, state.sounds_page},
            {id::kSettingsPage, state.settings_tab, state.settings_page},
        };
        for (const Tab& tab : tabs) {
            const bool current = tab.page_id == page_id;
            set_visible(tab.page, current);
            if (!tab.tab) continue;
            tab.tab->set_locked(current);
            // A tapped tab has already checked itself; the others are cleared.
            if (!current || !from_tap) tab.tab->set_pressed(current);
        }
    }
    repaint_if(repaint);
}

}  // namespace tiltophon
