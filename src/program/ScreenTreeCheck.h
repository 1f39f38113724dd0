// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace tiltophon {

// The navigation promises of the screen tree, checked from the outside after any
// sequence of events: exactly one screen (the main panel, About, the pick page) shown,
// at most one tab page and exactly one while the main panel is the screen; the tab of
// the page shown checked and locked, every other tab neither. Empty when they hold,
// else which one is broken. Main thread only.
std::string screen_tree_fault();

}  // namespace tiltophon
