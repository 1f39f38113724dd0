// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AppState.h"

namespace tiltophon {

namespace {
std::unique_ptr<AppState>& state() {
    static std::unique_ptr<AppState> record = std::make_unique<AppState>();
    return record;
}
}  // namespace

AppState& app() { return *state(); }

void reset_app() { state() = std::make_unique<AppState>(); }

}  // namespace tiltophon
