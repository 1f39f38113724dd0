// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "vavurud/Control.h"

namespace tiltophon {

// A piece of an image stretched over the whole rectangle: a page's background carried
// on beyond the picture that holds it (its edge row, or one pixel of its colour), for
// a screen taller than the pictures. Takes no pen input.
class Backdrop : public Control {
public:
    Backdrop(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;

    // The part `from` of `image`; whatever of it lies outside the image is left out.
    Backdrop& set_source(Image image, const Rect& from);

private:
    Image image_ = nullptr;
    Rect from_;
};

}  // namespace tiltophon
