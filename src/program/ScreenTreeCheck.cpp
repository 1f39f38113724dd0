// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/ScreenTreeCheck.h"

#include <array>

#include "app/AppState.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Panel.h"

namespace tiltophon {

namespace {

bool shown(const Control* control) {
    return control && control->is_visible();
}

}  // namespace

std::string screen_tree_fault() {
    const AppState& state = app();
    if (!state.is_loaded() || !state.root_panel) return {};

    const std::array<const Panel*, 3> screens = {state.main_panel, state.about_page,
                                                 state.pick_page};
    int screens_shown = 0;
    for (const Panel* screen : screens) screens_shown += shown(screen);
    if (screens_shown == 0) return "no screen is shown";
    if (screens_shown > 1) return "more than one screen is shown";

    struct Tab {
        const char* name;
        const CheckButton* tab;
        const Panel* page;
    };
    const std::array<Tab, 3> tabs = {Tab{"Home", state.home_tab, state.home_page},
                                     Tab{"Sounds", state.sounds_tab, state.sounds_page},
                                     Tab{"Settings", state.settings_tab, state.settings_page}};
    int pages_shown = 0;
    for (const Tab& tab : tabs) pages_shown += shown(tab.page);
    // The tab pages stay as they were while About or the pick page covers the main
    // panel; only the main panel has to show one.
    if (pages_shown == 0 && shown(state.main_panel)) return "the main panel shows no tab page";
    if (pages_shown > 1) return "more than one tab page is shown";

    for (const Tab& tab : tabs) {
        if (!tab.tab) continue;
        const bool current = shown(tab.page);
        if (current && !(tab.tab->is_pressed() && tab.tab->is_locked())) {
            return std::string("the ") + tab.name +
                   " page is shown but its tab is not checked and locked";
        }
        if (!current && (tab.tab->is_pressed() || tab.tab->is_locked())) {
            return std::string("the ") + tab.name +
                   " tab is checked or locked while its page is hidden";
        }
    }
    return {};
}

}  // namespace tiltophon
