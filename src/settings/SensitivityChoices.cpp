// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SensitivityChoices.h"

#include <string>

#include "app/AppState.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {

void FillSensitivityChoices() {
    AppState& state = app();
    for (ValueSelector* selector : {state.x_sensitivity_selector, state.y_sensitivity_selector,
                                    state.z_sensitivity_selector}) {
        if (!selector) continue;
        for (int value = 1; value <= 10; ++value) {
            std::string digits = std::to_string(value);
            selector->add_value(std::u16string(digits.begin(), digits.end()));
        }
    }
}

}  // namespace tiltophon
