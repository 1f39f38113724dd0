// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "vavurud/Control.h"

namespace tiltophon {

// One image, optionally with its mask; takes no pen input.
class Picture : public Control {
public:
    Picture(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;

    // Slot 1 is the image, slot 2 its mask; others are ignored.
    Picture& set_image(Image image, int32_t slot);
    Picture& set_image_kind(int32_t kind);
    Picture& set_image_placement(int32_t placement);

    Image image() const { return image_; }
    Image mask() const { return mask_; }

private:
    Image image_ = nullptr;
    Image mask_ = nullptr;
    int32_t image_kind_ = kImagePlain;
    int32_t image_placement_ = kPlaceCentred;
};

}  // namespace tiltophon
