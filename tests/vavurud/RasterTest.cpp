// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <random>

#include "support/Pixels.h"
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

// The one-to-one row loops against the reference loop, on random surfaces, random
// positions (often off either surface) and every operation.
template <typename Op>
void compare_paths(Op op, uint32_t seed) {
    std::mt19937 random(seed);
    for (int round = 0; round < 400; ++round) {
        Bitmap source = random_bitmap(random, 1 + random() % 17, 1 + random() % 13);
        Bitmap fast = random_bitmap(random, 1 + random() % 19, 1 + random() % 11);
        Bitmap plain = fast;
        auto coordinate = [&] { return static_cast<int32_t>(random() % 40) - 20; };
        const int32_t w = 1 + random() % 24;
        const int32_t h = 1 + random() % 16;
        const Rect dest{coordinate(), coordinate(), 0, 0};
        const Rect from{coordinate() / 2, coordinate() / 2, 0, 0};
        const Rect d{dest.left, dest.top, dest.left + w, dest.top + h};
        const Rect s{from.left, from.top, from.left + w, from.top + h};
        raster::blit(fast, d, source, s, op, op);
        raster::map_pixels(plain, d, source, s, op);
        ASSERT_TRUE(test::same_pixels(fast, plain))
            << "round " << round << " dest " << d.left << "," << d.top << " from " << s.left
            << "," << s.top << " size " << w << "x" << h;
    }
}

TEST(RasterPathsTest, RowLoopsMatchTheReferenceLoop) {
    compare_paths(raster::CopyOp{}, 1);
    compare_paths(raster::AndOp{}, 2);
    compare_paths(raster::OrOp{}, 3);
    compare_paths(raster::KeyOp{0xFFFF00FF}, 4);
    for (uint32_t alpha : {0u, 1u, 77u, 128u, 254u, 255u}) compare_paths(raster::BlendOp{alpha}, 5 + alpha);
}

TEST(RasterPathsTest, LaneBlendEqualsThePlainBlendForEveryChannelValue) {
    // Every source value, destination value and alpha for one channel; the lanes
    // must agree with the plain rounding in red, green and blue alike.
    for (uint32_t a = 0; a < 256; a += 1) {
        for (uint32_t s = 0; s < 256; ++s) {
            for (uint32_t d = 0; d < 256; d += 5) {
                const uint32_t sp = 0xFF000000u | (s << 16) | ((255 - s) << 8) | (s ^ 0x5A);
                const uint32_t dp = 0xFF000000u | (d << 16) | ((d * 7) & 0xFF) << 8 | (255 - d);
                ASSERT_EQ(raster::blend_pixel_lanes(sp, dp, a), raster::blend_pixel(sp, dp, a))
                    << "s " << s << " d " << d << " a " << a;
            }
        }
    }
}

}  // namespace
}  // namespace tiltophon
