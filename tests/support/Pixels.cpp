// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/Pixels.h"

#include <algorithm>
#include <cstdio>

namespace tiltophon::test {

Bitmap bitmap_of(std::initializer_list<std::initializer_list<Colour>> rows) {
    const int32_t height = static_cast<int32_t>(rows.size());
    const int32_t width = height ? static_cast<int32_t>(rows.begin()->size()) : 0;
    Bitmap bitmap(width, height);
    int32_t y = 0;
    for (const auto& row : rows) {
        int32_t x = 0;
        for (Colour c : row) bitmap.set_pixel(x++, y, pixel_from_colour(c));
        ++y;
    }
    return bitmap;
}

std::string dump(const Bitmap& bitmap) {
    std::string text;
    char cell[16];
    for (int32_t y = 0; y < bitmap.height(); ++y) {
        for (int32_t x = 0; x < bitmap.width(); ++x) {
            std::snprintf(cell, sizeof cell, "%06X ", colour_at(bitmap, x, y));
            text += cell;
        }
        text += '\n';
    }
    return text;
}

bool same_pixels(const Bitmap& a, const Bitmap& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + static_cast<std::size_t>(a.width()) * a.height(),
                      b.data());
}

}  // namespace tiltophon::test
