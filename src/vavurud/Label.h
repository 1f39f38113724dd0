// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "vavurud/Control.h"

namespace tiltophon {

// A caption on its own; takes no pen input and never shows the pressed colour.
class Label : public Control {
public:
    Label(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;
};

}  // namespace tiltophon
