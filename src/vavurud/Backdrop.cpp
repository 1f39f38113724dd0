// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/Backdrop.h"

#include <algorithm>

#include "vavurud/Draw.h"

namespace tiltophon {

Backdrop::Backdrop(Window* owner, uint32_t id) : Control(owner, id) {
    accepts_pen_ = false;
}

void Backdrop::draw(DrawContext& context) {
    int32_t width = 0;
    int32_t height = 0;
    if (!image_size(image_, width, height)) return;
    // A skin whose picture is smaller than the part asked for gives what it has.
    const Rect part{std::max(from_.left, 0), std::max(from_.top, 0), std::min(from_.right, width),
                    std::min(from_.bottom, height)};
    if (part.empty()) return;
    blit_stretched_part(context, get_rect(), image_, part);
}

Backdrop& Backdrop::set_source(Image image, const Rect& from) {
    image_ = image;
    from_ = from;
    return *this;
}

}  // namespace tiltophon
