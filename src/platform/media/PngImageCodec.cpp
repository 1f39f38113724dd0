// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/PngImageCodec.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A picture is a regular file. Anything else with a picture's name (a named pipe that
// nobody writes to, a device) must neither stall nor feed the reader, so the file is
// opened without waiting and refused when it is not one.
File open_picture(std::u16string_view path) {
    const int fd = ::open(utf8_from_utf16(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    File file(::fdopen(fd, "rb"));
    if (!file) ::close(fd);
    return file;
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

// libpng reports through these; the program writes no log, and an error only has
// to end the decoding.
[[noreturn]] void silent_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void silent_warning(png_structp, png_const_charp) {}

// Reads the chunks up to the pixel data and asks for 8-bit B, G, R, A samples whatever
// the file holds: palettes and low bit depths expanded, gray made colour, 16-bit samples
// scaled down, transparency turned into alpha, opaque pixels given alpha 255. Sample
// values are taken as they stand, without gamma correction. Nothing here may own
// memory: an error jumps straight back out.
bool read_header(png_structp png, png_infop info, FILE* file, uint32_t& width, uint32_t& height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, PngImageCodec::kMaxSide, PngImageCodec::kMaxSide);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (depth == 16) png_set_scale_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparency) png_set_tRNS_to_alpha(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !transparency) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    // Pixels are 0xAARRGGBB words, which on a little-endian machine are B, G, R, A bytes.
    static_assert(std::endian::native == std::endian::little);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(width) * 4;
}

bool read_pixels(png_structp png, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows.data());
    return true;
}

}  // namespace

bool PngImageCodec::acceptable_size(uint32_t width, uint32_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<uint64_t>(width) * height <= kMaxPixels;
}

std::unique_ptr<Bitmap> PngImageCodec::load_png(std::u16string_view path) {
    File file = open_picture(path);
    if (!file) return nullptr;
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        return nullptr;
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, silent_error, silent_warning);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    std::unique_ptr<Bitmap> bitmap;
    uint32_t width = 0;
    uint32_t height = 0;
    if (info && read_header(png, info, file.get(), width, height) &&
        acceptable_size(width, height)) {
        // Only the header has been read so far, so absurd sizes never get this far.
        bitmap = std::make_unique<Bitmap>(static_cast<int32_t>(width), static_cast<int32_t>(height));
        std::vector<png_bytep> rows(height);
        for (uint32_t y = 0; y < height; ++y) {
            rows[y] = reinterpret_cast<png_bytep>(bitmap->row(static_cast<int32_t>(y)));
        }
        if (read_pixels(png, rows)) {
            composite_over_black(*bitmap);
        } else {
            bitmap.reset();
        }
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
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
