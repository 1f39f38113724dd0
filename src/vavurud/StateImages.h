// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Bitmap.h"
#include "vavurud/Draw.h"

namespace tiltophon {

// The up, down and disabled looks of an image-based button, with their masks.
struct StateImages {
    Image up = nullptr;
    Image up_mask = nullptr;
    Image down = nullptr;
    Image down_mask = nullptr;
    Image disabled = nullptr;
    Image disabled_mask = nullptr;
    int32_t kind = kImagePlain;
    int32_t placement = kPlaceCentred;

    // Stores the image in slot 1, 2, 3, 4, 9 or 10; false for any other slot.
    bool set(Image image, int32_t slot);
    // Down when pressed, up otherwise; the disabled look whenever not enabled.
    void draw(DrawContext& context, const Rect& rect, bool enabled, bool pressed) const;
};

}  // namespace tiltophon
