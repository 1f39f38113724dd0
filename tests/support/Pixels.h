// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/Bitmap.h"

namespace tiltophon::test {

// A bitmap of the given rows of colours (0x00BBGGRR), all rows as long as the first.
Bitmap bitmap_of(std::initializer_list<std::initializer_list<Colour>> rows);

// The colour (0x00BBGGRR) of one pixel.
inline Colour colour_at(const Bitmap& bitmap, int32_t x, int32_t y) {
    return colour_from_pixel(bitmap.pixel(x, y));
}

// The pixels as rows of hexadecimal colours, for readable failure messages.
std::string dump(const Bitmap& bitmap);

bool same_pixels(const Bitmap& a, const Bitmap& b);

}  // namespace tiltophon::test
