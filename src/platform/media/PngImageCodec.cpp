#include "platform/media/PngImageCodec.h"

#include <png.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Text.h"

namespace tiltophon {

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File open(std::u16string_view path, const char* mode) {
    return File(std::fopen(utf8_from_utf16(path).c_str(), mode));
}

// Straight (not premultiplied) alpha over black, leaving every pixel opaque.
void composite_over_black(Bitmap& bitmap) {
    uint32_t* p = bitmap.data();
    const std::size_t count = static_cast<std::size_t>(bitmap.width()) * bitmap.height();
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t a = p[i] >> 24;
        if (a == 0xFF) continue;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8) {
            out |= ((((p[i] >> shift) & 0xFFu) * a + 127) / 255) << shift;
        }
        p[i] = out;
    }
}

}  // namespace

std::unique_ptr<Bitmap> PngImageCodec::load_png(std::u16string_view path) {
    File file = open(path, "rb");
    if (!file) return nullptr;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&image, file.get())) return nullptr;
    // Only the header has been read so far: refuse absurd sizes before allocating.
    const uint64_t pixels = static_cast<uint64_t>(image.width) * image.height;
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
        image.height > kMaxSide || pixels > kMaxPixels) {
        png_image_free(&image);
        return nullptr;
    }
    // 16-bit files without gamma information are taken as sRGB, like 8-bit ones, so
    // their high bytes come out unchanged.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    // Pixels are 0xAARRGGBB words, which on a little-endian machine are B, G, R, A bytes.
    static_assert(std::endian::native == std::endian::little);
    image.format = PNG_FORMAT_BGRA;
    auto bitmap = std::make_unique<Bitmap>(static_cast<int32_t>(image.width),
                                           static_cast<int32_t>(image.height));
    if (!png_image_finish_read(&image, nullptr, bitmap->data(), 0, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    composite_over_black(*bitmap);
    return bitmap;
}

bool PngImageCodec::save_png(const Bitmap& bitmap, std::u16string_view path, bool keep_alpha) {
    if (bitmap.width() <= 0 || bitmap.height() <= 0) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width());
    image.height = static_cast<png_uint_32>(bitmap.height());
    const std::size_t count = static_cast<std::size_t>(bitmap.width()) * bitmap.height();
    std::vector<uint8_t> bytes;
    bytes.reserve(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t p = bitmap.data()[i];
        bytes.push_back(static_cast<uint8_t>(p >> 16));
        bytes.push_back(static_cast<uint8_t>(p >> 8));
        bytes.push_back(static_cast<uint8_t>(p));
        if (keep_alpha) bytes.push_back(static_cast<uint8_t>(p >> 24));
    }
    image.format = keep_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    File file = open(path, "wb");
    if (!file) return false;
    const bool written = png_image_write_to_stdio(&image, file.get(), 0, bytes.data(), 0, nullptr);
    png_image_free(&image);
    const bool closed = std::fclose(file.release()) == 0;
    return written && closed;
}

}  // namespace tiltophon
