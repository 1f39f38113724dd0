// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Bitmap.h"

#include <algorithm>

namespace tiltophon {

Bitmap::Bitmap(int32_t width, int32_t height, uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

void Bitmap::fill(uint32_t value) { std::fill(pixels_.begin(), pixels_.end(), value); }

}  // namespace tiltophon
