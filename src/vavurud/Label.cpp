// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/Label.h"

namespace tiltophon {

Label::Label(Window* owner, uint32_t id) : Control(owner, id) { accepts_pen_ = false; }

void Label::draw(DrawContext& context) { draw_caption(context, text_colour()); }

}  // namespace tiltophon
