// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/ImageCodec.h"

namespace tiltophon {

// PNG files through libpng. Every colour type, bit depth and interlacing decodes to
// opaque 32-bit pixels, transparent parts composited over black. Decoding uses
// libpng's full interface: its simplified reader gets interlaced 16-bit files wrong.
class PngImageCodec : public ImageCodec {
public:
    // Larger images are refused from their header, before any pixel memory is taken.
    static constexpr uint32_t kMaxSide = 16384;
    static constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

    // Whether an image of this size is decoded at all.
    static bool acceptable_size(uint32_t width, uint32_t height);

    std::unique_ptr<Bitmap> load_png(std::u16string_view path) override;

    // Writes the bitmap as an 8-bit PNG: RGB, or RGBA keeping the pixels' alpha bytes
    // (for pictures with transparent parts meant for other programs, such as icons).
    // False when the file cannot be written.
    static bool save_png(const Bitmap& bitmap, std::u16string_view path, bool keep_alpha = false);
};

}  // namespace tiltophon
