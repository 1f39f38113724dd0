#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/ImageCodec.h"

namespace tiltophon {

// PNG files through libpng's simplified API. Every colour type, bit depth and
// interlacing decodes to opaque 32-bit pixels, transparent parts composited over black.
class PngImageCodec : public ImageCodec {
public:
    // Larger images are refused from their header, before any pixel memory is taken.
    static constexpr uint32_t kMaxSide = 16384;
    static constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

    std::unique_ptr<Bitmap> load_png(std::u16string_view path) override;

    // Writes the bitmap as an 8-bit PNG: RGB, or RGBA keeping the pixels' alpha bytes
    // (for pictures with transparent parts meant for other programs, such as icons).
    // False when the file cannot be written.
    static bool save_png(const Bitmap& bitmap, std::u16string_view path, bool keep_alpha = false);
};

}  // namespace tiltophon
