// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

namespace tiltophon {

// A 32-bit pixel surface owned by the program: images, the off-screen buffers and
// temporary drawing surfaces are all Bitmaps. Pixels are 0xAARRGGBB with alpha
// always 0xFF, the layout the window presents directly.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int32_t width, int32_t height, uint32_t fill = kOpaqueBlack);

    static constexpr uint32_t kOpaqueBlack = 0xFF000000u;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    Rect bounds() const { return {0, 0, width_, height_}; }

    uint32_t* row(int32_t y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const uint32_t* row(int32_t y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    uint32_t pixel(int32_t x, int32_t y) const { return row(y)[x]; }
    void set_pixel(int32_t x, int32_t y, uint32_t value) { row(y)[x] = value; }
    uint32_t* data() { return pixels_.data(); }
    const uint32_t* data() const { return pixels_.data(); }

    void fill(uint32_t value);

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> pixels_;
};

// The one place where a program colour (0x00BBGGRR) becomes a pixel and back.
constexpr uint32_t pixel_from_colour(Colour c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Colour colour_from_pixel(uint32_t p) {
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

// Images are bitmaps borrowed from their owner (the skin, the resources or the
// sound bank); a null image draws nothing.
using Image = const Bitmap*;

}  // namespace tiltophon
