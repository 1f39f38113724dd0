// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/Pixels.h"
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {
namespace {

Bitmap random_bitmap(std::mt19937& random, int32_t width, int32_t height) {
    Bitmap bitmap(width, height);
    // Few distinct colours, so the key colour turns up often.
    const uint32_t palette[] = {0xFFFF00FF, 0xFF123456, 0xFFFFFFFF, 0xFF000000, 0xFF80FF01};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            bitmap.set_pixel(x, y, random() % 3 == 0 ? palette[random() % 5]
                                                     : 0xFF000000u | (random() & 0xFFFFFFu));
        }
    }
    return bitmap;
}

// The row loops against the reference loop, on random surfaces, random positions
// (often off either surface) and every operation: one to one when `scaled` is false,
// otherwise between random extents, often equal in one direction only.
template <typename Op>
void compare_paths(Op op, uint32_t seed, bool scaled = false) {
    std::mt19937 random(seed);
    for (int round = 0; round < 400; ++round) {
        Bitmap source = random_bitmap(random, 1 + random() % 17, 1 + random() % 13);
        Bitmap fast = random_bitmap(random, 1 + random() % 19, 1 + random() % 11);
        Bitmap plain = fast;
        auto coordinate = [&] { return static_cast<int32_t>(random() % 40) - 20; };
        const int32_t w = 1 + random() % 24;
        const int32_t h = 1 + random() % 16;
        const int32_t sw = scaled && random() % 3 != 0 ? 1 + random() % 24 : w;
        const int32_t sh = scaled && random() % 3 != 0 ? 1 + random() % 16 : h;
        const Rect dest{coordinate(), coordinate(), 0, 0};
        const Rect from{coordinate() / 2, coordinate() / 2, 0, 0};
        const Rect d{dest.left, dest.top, dest.left + w, dest.top + h};
        const Rect s{from.left, from.top, from.left + sw, from.top + sh};
        raster::blit(fast, d, source, s, op);
        raster::map_pixels(plain, d, source, s, op);
        ASSERT_TRUE(test::same_pixels(fast, plain))
            << "round " << round << " dest " << d.left << "," << d.top << " " << w << "x" << h
            << " from " << s.left << "," << s.top << " " << sw << "x" << sh;
    }
}

template <typename Op>
void compare_all_paths(Op op, uint32_t seed) {
    compare_paths(op, seed);
    compare_paths(op, seed + 1000, true);
}

TEST(RasterPathsTest, RowLoopsMatchTheReferenceLoopOneToOneAndScaled) {
    compare_all_paths(raster::CopyOp{}, 1);
    compare_all_paths(raster::AndOp{}, 2);
    compare_all_paths(raster::OrOp{}, 3);
    compare_all_paths(raster::KeyOp{0xFFFF00FF}, 4);
    for (uint32_t alpha : {0u, 1u, 77u, 128u, 254u, 255u}) {
        compare_all_paths(raster::BlendOp{alpha}, 5 + alpha);
    }
}

// Whole rows between surfaces of one width, which the row loops take as one run,
// with the block shifted up or down on either side and hanging off its ends.
template <typename Op>
void compare_whole_rows(Op op, uint32_t seed) {
    std::mt19937 random(seed);
    for (int round = 0; round < 100; ++round) {
        const int32_t width = 1 + random() % 9;
        Bitmap source = random_bitmap(random, width, 1 + random() % 12);
        Bitmap fast = random_bitmap(random, width, 1 + random() % 12);
        Bitmap plain = fast;
        const int32_t height = 1 + random() % 14;
        const Rect d{0, static_cast<int32_t>(random() % 9) - 4, width, 0};
        const Rect s{0, static_cast<int32_t>(random() % 9) - 4, width, 0};
        raster::blit(fast, {0, d.top, width, d.top + height}, source,
                     {0, s.top, width, s.top + height}, op);
        raster::map_pixels(plain, {0, d.top, width, d.top + height}, source,
                           {0, s.top, width, s.top + height}, op);
        ASSERT_TRUE(test::same_pixels(fast, plain))
            << "round " << round << " rows " << s.top << " to " << d.top << ", " << height << " of "
            << width << " pixels";
    }
}

TEST(RasterPathsTest, WholeRowsMatchTheReferenceLoop) {
    compare_whole_rows(raster::CopyOp{}, 21);
    compare_whole_rows(raster::AndOp{}, 22);
    compare_whole_rows(raster::KeyOp{0xFFFF00FF}, 23);
    compare_whole_rows(raster::BlendOp{99}, 24);
}

TEST(RasterPathsTest, EveryBlendRowLoopEqualsThePlainBlendForEveryChannelValue) {
    // Every source value, destination value and alpha for one channel, in red, green
    // and blue alike, and alpha bytes other than 0xFF; rows of every length up to a few
    // vectors and at every offset, so the vector loops and their tails both run.
    std::vector<uint32_t> sources;
    std::vector<uint32_t> destinations;
    for (uint32_t s = 0; s < 256; ++s) {
        for (uint32_t d = 0; d < 256; d += 5) {
            sources.push_back((s * 0x01010101u) ^ 0x00005A00u ^ (d << 24));
            destinations.push_back(0x7F000000u | (d << 16) | ((d * 7) & 0xFF) << 8 | (255 - d));
        }
    }
    ASSERT_FALSE(raster::blend_row_paths().empty());
    for (const raster::BlendRowPath& path : raster::blend_row_paths()) {
        for (uint32_t a = 0; a < 256; ++a) {
            std::vector<uint32_t> fast(destinations.size());
            path.row(fast.data(), destinations.data(), sources.data(),
                     static_cast<int32_t>(fast.size()), a);
            for (std::size_t i = 0; i < fast.size(); ++i) {
                ASSERT_EQ(fast[i], raster::blend_pixel(sources[i], destinations[i], a))
                    << path.name << " source " << std::hex << sources[i] << " destination "
                    << destinations[i] << std::dec << " alpha " << a;
            }
        }
        std::mt19937 random(11);
        for (int32_t offset = 0; offset < 8; ++offset) {
            for (int32_t n = 0; n <= 40; ++n) {
                std::vector<uint32_t> source(64);
                std::vector<uint32_t> fast(64);
                for (uint32_t& p : source) p = random();
                for (uint32_t& p : fast) p = random();
                const std::vector<uint32_t> before = fast;
                const uint32_t a = random() & 0xFF;
                // In place, as the blends onto a surface run it.
                path.row(fast.data() + offset, fast.data() + offset, source.data() + offset, n, a);
                for (int32_t i = 0; i < 64; ++i) {
                    const bool inside = i >= offset && i < offset + n;
                    const uint32_t expected =
                        inside ? raster::blend_pixel(source[i], before[i], a) : before[i];
                    ASSERT_EQ(fast[i], expected)
                        << path.name << " pixel " << i << " of a row of " << n << " at " << offset;
                }
            }
        }
    }
}

TEST(RasterPathsTest, RowFillSetsExactlyItsPixels) {
    std::mt19937 random(13);
    for (int32_t offset = 0; offset < 5; ++offset) {
        for (int32_t n = 0; n <= 19; ++n) {
            std::vector<uint32_t> row(32);
            for (uint32_t& p : row) p = random();
            std::vector<uint32_t> expected = row;
            const uint32_t pixel = random();
            for (int32_t i = offset; i < offset + n; ++i) expected[i] = pixel;
            raster::fill_row(row.data() + offset, n, pixel);
            ASSERT_EQ(row, expected) << n << " pixels at " << offset;
        }
    }
}

TEST(RasterPathsTest, BlendOverGivesTheCopyThenTheBlend) {
    // The one-pass blend of two pictures into a third against copying the lower one and
    // blending the upper one onto it, with surfaces of random sizes that often do not
    // cover the block.
    std::mt19937 random(12);
    for (int round = 0; round < 300; ++round) {
        const Bitmap below = random_bitmap(random, 1 + random() % 40, 1 + random() % 9);
        const Bitmap above = random_bitmap(random, 1 + random() % 40, 1 + random() % 9);
        Bitmap fast = random_bitmap(random, 1 + random() % 40, 1 + random() % 9);
        Bitmap plain = fast;
        const auto width = static_cast<int32_t>(random() % 44);
        const auto height = static_cast<int32_t>(random() % 11);
        const uint32_t alpha = random() % 512;
        alpha_blend_over(fast, below, above, width, height, alpha);
        copy_block(plain, 0, 0, width, height, below, 0, 0);
        alpha_blend(plain, 0, 0, width, height, above, 0, 0, width, height, alpha);
        ASSERT_TRUE(test::same_pixels(fast, plain))
            << "round " << round << " block " << width << "x" << height << " alpha " << alpha;
    }
}

}  // namespace
}  // namespace tiltophon
