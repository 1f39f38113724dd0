// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <vector>

#include "motion/TempFolder.h"
#include "platform/Text.h"
#include "platform/media/PngImageCodec.h"

namespace tiltophon {
namespace {

// One sample layout of a test picture: what to write for pixel k and the colour
// (0xRRGGBB) the decoder must give for it.
struct Case {
    const char* name;
    int colour_type;
    int depth;
};

struct Sample {
    std::vector<uint16_t> channels;  // as stored: gray, gray+alpha, RGB, RGBA or an index
    uint32_t expected;               // 0xRRGGBB after compositing over black
};

constexpr int kWidth = 11;  // odd sizes exercise every interlace pass
constexpr int kHeight = 9;

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
uint32_t over_black(uint32_t c, uint32_t a) { return (c * a + 127) / 255; }

struct PaletteEntry {
    uint8_t r, g, b, a;
};

PaletteEntry palette_entry(int i) {
    return {static_cast<uint8_t>(i * 40), static_cast<uint8_t>(i * 90),
            static_cast<uint8_t>(255 - i * 7), static_cast<uint8_t>(i % 3 == 0 ? 255 : i * 70)};
}

Sample sample_for(const Case& c, int k) {
    const uint32_t max = (1u << c.depth) - 1;
    // 8-bit values written at 16 bits as v x 257 come back as v.
    const uint32_t scale = c.depth == 16 ? 257 : 1;
    const uint32_t g = (k * 37) % 256;
    const uint32_t r = (k * 31) % 256;
    const uint32_t b = (k * 101) % 256;
    const uint32_t a = (k * 53) % 256;
    switch (c.colour_type) {
        case PNG_COLOR_TYPE_GRAY:
            if (c.depth < 8) {
                const uint32_t v = k % (max + 1);
                const uint32_t e = v * 255 / max;
                return {{static_cast<uint16_t>(v)}, rgb(e, e, e)};
            }
            return {{static_cast<uint16_t>(g * scale)}, rgb(g, g, g)};
        case PNG_COLOR_TYPE_GRAY_ALPHA: {
            const uint32_t e = over_black(g, a);
            return {{static_cast<uint16_t>(g * scale), static_cast<uint16_t>(a * scale)}, rgb(e, e, e)};
        }
        case PNG_COLOR_TYPE_RGB:
            return {{static_cast<uint16_t>(r * scale), static_cast<uint16_t>(g * scale),
                     static_cast<uint16_t>(b * scale)},
                    rgb(r, g, b)};
        case PNG_COLOR_TYPE_RGBA:
            return {{static_cast<uint16_t>(r * scale), static_cast<uint16_t>(g * scale),
                     static_cast<uint16_t>(b * scale), static_cast<uint16_t>(a * scale)},
                    rgb(over_black(r, a), over_black(g, a), over_black(b, a))};
        default: {  // palette
            const int index = k % static_cast<int>(std::min(max + 1, 256u));
            const PaletteEntry e = palette_entry(index);
            return {{static_cast<uint16_t>(index)},
                    rgb(over_black(e.r, e.a), over_black(e.g, e.a), over_black(e.b, e.a))};
        }
    }
}

// Writes the test picture with libpng's full interface, which can make every layout.
bool write_png(const std::string& path, const Case& c, bool interlaced) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kWidth, kHeight, c.depth, c.colour_type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (c.colour_type == PNG_COLOR_TYPE_PALETTE) {
        const int entries = std::min(1 << c.depth, 256);
        std::vector<png_color> colours(entries);
        std::vector<png_byte> alphas(entries);
        for (int i = 0; i < entries; ++i) {
            const PaletteEntry e = palette_entry(i);
            colours[i] = {e.r, e.g, e.b};
            alphas[i] = e.a;
        }
        png_set_PLTE(png, info, colours.data(), entries);
        png_set_tRNS(png, info, alphas.data(), entries, nullptr);
    }
    png_write_info(png, info);
    if (c.depth < 8) png_set_packing(png);  // rows hold one sample per byte

    std::vector<std::vector<png_byte>> rows(kHeight);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            for (uint16_t v : sample_for(c, y * kWidth + x).channels) {
                if (c.depth == 16) rows[y].push_back(static_cast<png_byte>(v >> 8));
                rows[y].push_back(static_cast<png_byte>(v));
            }
        }
        pointers.push_back(rows[y].data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// An 8-bit gray picture of one shade; with `pixels` false only its header is written.
bool write_gray(const std::string& path, uint32_t width, uint32_t height, bool pixels) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(width, 200);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (pixels) {
        for (uint32_t y = 0; y < height; ++y) png_write_row(png, row.data());
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

class PngImageCodecTest : public ::testing::Test {
protected:
    TempFolder folder;
    PngImageCodec codec;

    std::unique_ptr<Bitmap> load(const std::string& name) {
        return codec.load_png(utf16_from_utf8(folder.file(name)));
    }
};

TEST_F(PngImageCodecTest, EveryColourTypeAndDepthPlainAndInterlaced) {
    const Case cases[] = {
        {"gray1", PNG_COLOR_TYPE_GRAY, 1},          {"gray2", PNG_COLOR_TYPE_GRAY, 2},
        {"gray4", PNG_COLOR_TYPE_GRAY, 4},          {"gray8", PNG_COLOR_TYPE_GRAY, 8},
        {"gray16", PNG_COLOR_TYPE_GRAY, 16},        {"grayalpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8},
        {"grayalpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16}, {"rgb8", PNG_COLOR_TYPE_RGB, 8},
        {"rgb16", PNG_COLOR_TYPE_RGB, 16},          {"rgba8", PNG_COLOR_TYPE_RGBA, 8},
        {"rgba16", PNG_COLOR_TYPE_RGBA, 16},        {"palette1", PNG_COLOR_TYPE_PALETTE, 1},
        {"palette2", PNG_COLOR_TYPE_PALETTE, 2},    {"palette4", PNG_COLOR_TYPE_PALETTE, 4},
        {"palette8", PNG_COLOR_TYPE_PALETTE, 8},
    };
    for (const Case& c : cases) {
        for (bool interlaced : {false, true}) {
            const std::string name = std::string(c.name) + (interlaced ? "i.png" : ".png");
            ASSERT_TRUE(write_png(folder.file(name), c, interlaced)) << name;
            auto bitmap = load(name);
            ASSERT_TRUE(bitmap) << name;
            ASSERT_EQ(bitmap->width(), kWidth);
            ASSERT_EQ(bitmap->height(), kHeight);
            // 16-bit samples with alpha go through libpng's own 16-bit arithmetic; one
            // step of rounding either way is theirs to choose.
            const int tolerance = c.depth == 16 && (c.colour_type & PNG_COLOR_MASK_ALPHA) ? 1 : 0;
            for (int k = 0; k < kWidth * kHeight; ++k) {
                const uint32_t pixel = bitmap->pixel(k % kWidth, k / kWidth);
                const uint32_t expected = sample_for(c, k).expected;
                ASSERT_EQ(pixel >> 24, 0xFFu) << name << " pixel " << k;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const int got = (pixel >> shift) & 0xFF;
                    const int want = (expected >> shift) & 0xFF;
                    ASSERT_LE(std::abs(got - want), tolerance)
                        << name << " pixel " << k << std::hex << " got " << (pixel & 0xFFFFFF)
                        << " want " << expected;
                }
            }
        }
    }
}

TEST_F(PngImageCodecTest, SavedPicturesLoadBackUnchanged) {
    Bitmap picture(3, 2);
    picture.set_pixel(0, 0, 0xFF123456);
    picture.set_pixel(2, 1, 0xFFFF00FF);
    ASSERT_TRUE(PngImageCodec::save_png(picture, utf16_from_utf8(folder.file("p.png"))));
    auto back = load("p.png");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(back->pixel(2, 1), 0xFFFF00FFu);
    EXPECT_EQ(back->pixel(1, 1), 0xFF000000u);
    EXPECT_FALSE(PngImageCodec::save_png(picture, u"/nonexistent-folder/p.png"));
}

TEST_F(PngImageCodecTest, MissingDamagedAndForeignFilesGiveNothing) {
    EXPECT_FALSE(load("missing.png"));
    { std::ofstream(folder.file("empty.png")); }
    EXPECT_FALSE(load("empty.png"));
    { std::ofstream(folder.file("text.png")) << "this is not a picture at all, only some text"; }
    EXPECT_FALSE(load("text.png"));

    const Case rgb{"rgb", PNG_COLOR_TYPE_RGB, 8};
    ASSERT_TRUE(write_png(folder.file("good.png"), rgb, false));
    std::ifstream in(folder.file("good.png"), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(bytes.size(), 60u);

    for (std::size_t keep : {std::size_t{8}, std::size_t{20}, std::size_t{40}, bytes.size() - 20}) {
        std::ofstream(folder.file("cut.png"), std::ios::binary).write(bytes.data(), keep);
        EXPECT_FALSE(load("cut.png")) << "cut after " << keep << " bytes";
    }
    // Damage inside the compressed pixel data (past the 33-byte header).
    std::vector<char> damaged = bytes;
    for (std::size_t i = 45; i < damaged.size() - 16; i += 3) damaged[i] = static_cast<char>(~damaged[i]);
    std::ofstream(folder.file("damaged.png"), std::ios::binary).write(damaged.data(), damaged.size());
    EXPECT_FALSE(load("damaged.png"));
}

TEST_F(PngImageCodecTest, PipesAndDevicesNamedLikePicturesAreRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(folder.file("pipeB.png").c_str(), 0600), 0);
    auto result = std::async(std::launch::async, [&] { return load("pipeB.png"); });
    if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Release the reader that waits for a writer, so that the test can end.
        ::close(::open(folder.file("pipeB.png").c_str(), O_WRONLY));
        FAIL() << "loading a named pipe waited for a writer";
    }
    EXPECT_FALSE(result.get());
    EXPECT_FALSE(codec.load_png(u"/dev/zero"));
    EXPECT_FALSE(codec.load_png(utf16_from_utf8(folder.path().string())));
}

TEST_F(PngImageCodecTest, AbsurdSizesAreRefusedFromTheHeader) {
    EXPECT_TRUE(PngImageCodec::acceptable_size(16384, 4096));
    EXPECT_FALSE(PngImageCodec::acceptable_size(16385, 1));
    EXPECT_FALSE(PngImageCodec::acceptable_size(1, 16385));
    EXPECT_FALSE(PngImageCodec::acceptable_size(16384, 4097));
    EXPECT_FALSE(PngImageCodec::acceptable_size(0, 1));

    // A real, complete picture one pixel too wide.
    ASSERT_TRUE(write_gray(folder.file("wide.png"), 16385, 1, true));
    EXPECT_FALSE(load("wide.png"));
    // A header that claims 20000 x 20000 (1.6 GB of pixels) and nothing after it: refused
    // at once rather than allocated and then found short.
    ASSERT_TRUE(write_gray(folder.file("huge.png"), 20000, 20000, false));
    EXPECT_FALSE(load("huge.png"));
}

}  // namespace
}  // namespace tiltophon
