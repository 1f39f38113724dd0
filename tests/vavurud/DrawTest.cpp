// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "support/Pixels.h"
#include "vavurud/Backdrop.h"
#include "vavurud/Draw.h"

namespace tiltophon {
namespace {

using test::bitmap_of;
using test::colour_at;
using test::dump;

constexpr Colour K = 0x000000;
constexpr Colour W = 0xFFFFFF;
constexpr Colour R = 0x0000FF;
constexpr Colour G = 0x00FF00;
constexpr Colour B = 0xFF0000;
constexpr Colour Y = 0x00FFFF;
constexpr Colour M = 0xFF00FF;  // the key colour
constexpr Colour S = 0x404040;  // the surface before drawing

Bitmap surface(int32_t width, int32_t height) {
    return Bitmap(width, height, pixel_from_colour(S));
}

// Columns of the one-row bitmap that are not the surface colour.
std::string drawn_columns(const Bitmap& row) {
    std::string cols;
    for (int32_t x = 0; x < row.width(); ++x) {
        if (colour_at(row, x, 0) != S) cols += std::to_string(x) + " ";
    }
    return cols;
}

TEST(DrawCentredTest, PlacesTheImageWithOffsetsTruncatedTowardZero) {
    // 3 x 1 image in a 7 x 3 rectangle at (1, 1): x = 1 + 4 / 2, y = 1 + 2 / 2.
    Bitmap target = surface(9, 5);
    Bitmap image = bitmap_of({{R, G, B}});
    blit_centered(target, {1, 1, 8, 4}, &image);
    EXPECT_EQ(colour_at(target, 3, 2), R);
    EXPECT_EQ(colour_at(target, 4, 2), G);
    EXPECT_EQ(colour_at(target, 5, 2), B);
    EXPECT_EQ(colour_at(target, 2, 2), S);
    EXPECT_EQ(colour_at(target, 6, 2), S);
    EXPECT_EQ(colour_at(target, 4, 1), S);

    // Wider than the rectangle by one: (100 - 101) / 2 is 0, so it starts at left.
    Bitmap wide101(101, 1, pixel_from_colour(R));
    Bitmap row = surface(110, 1);
    blit_centered(row, {5, 0, 105, 1}, &wide101);
    EXPECT_EQ(colour_at(row, 4, 0), S);
    EXPECT_EQ(colour_at(row, 5, 0), R);
    EXPECT_EQ(colour_at(row, 105, 0), R);
    EXPECT_EQ(colour_at(row, 106, 0), S);

    // Wider by two: it overhangs one pixel on each side.
    Bitmap wide102(102, 1, pixel_from_colour(G));
    row = surface(110, 1);
    blit_centered(row, {5, 0, 105, 1}, &wide102);
    EXPECT_EQ(colour_at(row, 3, 0), S);
    EXPECT_EQ(colour_at(row, 4, 0), G);
    EXPECT_EQ(colour_at(row, 105, 0), G);
    EXPECT_EQ(colour_at(row, 106, 0), S);
}

TEST(DrawCentredTest, ClipsToTheTargetOnEverySide) {
    Bitmap image = bitmap_of({{R, G, B}, {Y, W, M}});
    // Hanging over the top-left corner: only the bottom-right part lands.
    Bitmap target = surface(3, 2);
    blit_centered(target, {-2, -1, 1, 1}, &image);
    EXPECT_EQ(dump(target), dump(bitmap_of({{M, S, S}, {S, S, S}})));
    // Hanging over the bottom-right corner.
    target = surface(3, 2);
    blit_centered(target, {2, 1, 5, 3}, &image);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, S, S}, {S, S, R}})));
    // Entirely off the surface, or a null image: nothing changes.
    target = surface(3, 2);
    blit_centered(target, {100, 100, 103, 102}, &image);
    blit_centered(target, {0, 0, 3, 2}, nullptr);
    blit_stretched(target, {0, 0, 3, 2}, nullptr);
    blit_centered_transparent(target, {0, 0, 3, 2}, nullptr, M);
    fill_pattern(target, {0, 0, 3, 2}, nullptr, rop::kPatternCopy);
    EXPECT_EQ(dump(target), dump(surface(3, 2)));
}

TEST(DrawCentredTest, RasterOperationsAndMasks) {
    const Colour dst = 0x0F0FF0;
    Bitmap image = bitmap_of({{0x00FF0F, 0xFFFFFF}});
    Bitmap target = bitmap_of({{dst, dst}});
    blit_centered_rop(target, {0, 0, 2, 1}, &image, rop::kAnd);
    EXPECT_EQ(colour_at(target, 0, 0), 0x000F00u);
    EXPECT_EQ(colour_at(target, 1, 0), dst);
    target = bitmap_of({{dst, dst}});
    blit_centered_rop(target, {0, 0, 2, 1}, &image, rop::kOr);
    EXPECT_EQ(colour_at(target, 0, 0), 0x0FFFFFu);
    EXPECT_EQ(colour_at(target, 1, 0), 0xFFFFFFu);
    // A raster operation the copies do not know draws nothing.
    target = bitmap_of({{dst, dst}});
    blit_centered_rop(target, {0, 0, 2, 1}, &image, 0x00660046);
    EXPECT_EQ(colour_at(target, 0, 0), dst);

    // The mask is white where the background shows, the image black there.
    Bitmap picture = bitmap_of({{K, R, K}});
    Bitmap mask = bitmap_of({{W, K, W}});
    target = bitmap_of({{G, G, G}});
    blit_centered_masked(target, {0, 0, 3, 1}, &picture, &mask);
    EXPECT_EQ(dump(target), dump(bitmap_of({{G, R, G}})));
    // Without a mask the image is still ORed onto the background.
    target = bitmap_of({{G, G, G}});
    blit_centered_masked(target, {0, 0, 3, 1}, &picture, nullptr);
    EXPECT_EQ(dump(target), dump(bitmap_of({{G, Y, G}})));
    target = bitmap_of({{G, G, G}});
    blit_stretched_masked(target, {0, 0, 3, 1}, &picture, nullptr);
    EXPECT_EQ(dump(target), dump(bitmap_of({{G, Y, G}})));
}

TEST(DrawStretchTest, NearestPixelUnderEachDestinationPixelCentre) {
    Bitmap image = bitmap_of({{R, G}, {B, Y}});
    Bitmap target = surface(4, 4);
    blit_stretched(target, {0, 0, 4, 4}, &image);
    EXPECT_EQ(dump(target), dump(bitmap_of({{R, R, G, G}, {R, R, G, G}, {B, B, Y, Y}, {B, B, Y, Y}})));

    // Shrinking 4 to 2 takes source columns 1 and 3.
    Bitmap strip = bitmap_of({{R, G, B, Y}});
    target = surface(2, 1);
    blit_stretched(target, {0, 0, 2, 1}, &strip);
    EXPECT_EQ(dump(target), dump(bitmap_of({{G, Y}})));

    // 3 to 7: columns 0 0 1 1 1 2 2.
    Bitmap three = bitmap_of({{R, G, B}});
    target = surface(7, 1);
    blit_stretched(target, {0, 0, 7, 1}, &three);
    EXPECT_EQ(dump(target), dump(bitmap_of({{R, R, G, G, G, B, B}})));

    // An empty or inside-out rectangle draws nothing.
    target = surface(2, 2);
    blit_stretched(target, {1, 1, 1, 2}, &image);
    blit_stretched(target, {2, 2, 0, 0}, &image);
    EXPECT_EQ(dump(target), dump(surface(2, 2)));
}

TEST(DrawStretchTest, ClippingKeepsTheMappingOfTheWholeRectangle) {
    // A stretch hanging off the surface shows exactly the pixels it would show on a
    // larger surface.
    Bitmap image = bitmap_of({{R, G, B}, {Y, W, M}, {K, G, R}});
    Bitmap big = surface(20, 20);
    blit_stretched(big, {3, 2, 16, 13}, &image);
    Bitmap small = surface(8, 6);
    blit_stretched(small, {3 - 7, 2 - 4, 16 - 7, 13 - 4}, &image);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(colour_at(small, x, y), colour_at(big, x + 7, y + 4)) << x << "," << y;
        }
    }
}

// A backdrop carries an edge of a picture over its rectangle; a picture smaller than
// the part asked for (another skin's) gives what it has, and none gives nothing.
TEST(BackdropTest, StretchesThePartOfThePictureThatExists) {
    Bitmap picture = bitmap_of({{R, G, B}, {Y, W, K}});
    struct Case {
        Image image;
        Rect from;
        std::vector<Colour> row;  // the 4 x 1 target afterwards
    };
    for (const Case& c : {Case{&picture, {0, 1, 3, 2}, {Y, W, W, K}},
                          Case{&picture, {1, 0, 9, 1}, {G, G, B, B}},
                          Case{&picture, {5, 5, 9, 9}, {S, S, S, S}},
                          Case{nullptr, {0, 0, 1, 1}, {S, S, S, S}}}) {
        Bitmap target = surface(4, 1);
        Backdrop backdrop(nullptr, 0);
        backdrop.set_rect(0, 0, 4, 1);
        backdrop.set_source(c.image, c.from);
        backdrop.paint(target);
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(colour_at(target, x, 0), c.row[x]) << x;
    }
}

TEST(DrawColourKeyTest, LeavesOutTheKeyColourCentredAndStretched) {
    Bitmap icon = bitmap_of({{M, R}, {G, M}});
    Bitmap target = surface(2, 2);
    blit_centered_transparent(target, {0, 0, 2, 2}, &icon, kKeyColour);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, R}, {G, S}})));

    target = surface(4, 2);
    blit_stretched_transparent(target, {0, 0, 4, 2}, &icon, kKeyColour);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, S, R, R}, {G, G, S, S}})));

    // Another key leaves the magenta in.
    target = surface(2, 2);
    blit_centered_transparent(target, {0, 0, 2, 2}, &icon, R);
    EXPECT_EQ(dump(target), dump(bitmap_of({{M, S}, {G, M}})));
}

TEST(DrawPatternTest, TilesFromTheRectangleOriginEvenWhenClipped) {
    Bitmap tile = bitmap_of({{R, G}, {B, Y}});
    Bitmap target = surface(5, 3);
    fill_pattern(target, {1, 0, 4, 3}, &tile, rop::kPatternCopy);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, R, G, R, S}, {S, B, Y, B, S}, {S, R, G, R, S}})));

    // Starting off the surface: the tiling still counts from (-1, -1).
    target = surface(3, 2);
    fill_pattern(target, {-1, -1, 3, 2}, &tile, rop::kPatternCopy);
    EXPECT_EQ(dump(target), dump(bitmap_of({{Y, B, Y}, {G, R, G}})));

    // Only the pattern copy is defined for a pattern.
    target = surface(3, 2);
    fill_pattern(target, {0, 0, 3, 2}, &tile, rop::kCopy);
    EXPECT_EQ(dump(target), dump(surface(3, 2)));
}

TEST(DrawGradientTest, RedToBlueTopToBottom) {
    Bitmap target = surface(2, 6);
    gradient_fill(target, 0, 1, 2, 5, 0x0000FF, 0xFF0000, kGradientVertical);
    // Row i of n: each 16-bit channel is start + (end - start) x i / n, high byte kept.
    EXPECT_EQ(colour_at(target, 0, 0), S);
    EXPECT_EQ(colour_at(target, 0, 1), 0x0000FFu);  // exactly the start colour
    EXPECT_EQ(colour_at(target, 1, 2), 0x3F00BFu);  // red 0xFF00 - 0x3FC0 = 0xBF40
    EXPECT_EQ(colour_at(target, 0, 3), 0x7F007Fu);  // 0x7F80 both ways
    EXPECT_EQ(colour_at(target, 1, 4), 0xBF003Fu);  // one step short of blue
    EXPECT_EQ(colour_at(target, 0, 5), S);
}

TEST(DrawGradientTest, LeftToRightClippedAndDegenerate) {
    Bitmap target = surface(3, 2);
    // Runs over x = -1 .. 3 (4 steps); columns 0 to 2 are steps 1 to 3.
    gradient_fill(target, -1, 0, 3, 2, 0x000000, 0x00FF00, kGradientHorizontal);
    EXPECT_EQ(colour_at(target, 0, 0), 0x003F00u);
    EXPECT_EQ(colour_at(target, 1, 1), 0x007F00u);
    EXPECT_EQ(colour_at(target, 2, 0), 0x00BF00u);
    EXPECT_EQ(colour_at(target, 2, 1), 0x00BF00u);

    // Empty, inside-out and unknown modes draw nothing.
    target = surface(3, 2);
    gradient_fill(target, 1, 0, 1, 2, W, K, kGradientVertical);
    gradient_fill(target, 3, 2, 0, 0, W, K, kGradientVertical);
    gradient_fill(target, 0, 0, 3, 2, W, K, 2);
    EXPECT_EQ(dump(target), dump(surface(3, 2)));
}

TEST(DrawBlendTest, ConstantAlphaSourceOver) {
    Bitmap source = bitmap_of({{W, R}, {0x102030, K}});
    Bitmap target = bitmap_of({{K, B}, {0x302010, W}});
    alpha_blend_same(target, 0, 0, 2, 2, source, 128);
    EXPECT_EQ(colour_at(target, 0, 0), 0x808080u);  // (255 x 128 + 127) / 255 = 128
    EXPECT_EQ(colour_at(target, 1, 0), 0x7F0080u);
    EXPECT_EQ(colour_at(target, 0, 1), 0x202020u);
    EXPECT_EQ(colour_at(target, 1, 1), 0x7F7F7Fu);

    Bitmap copy = bitmap_of({{K, B}, {0x302010, W}});
    alpha_blend_same(copy, 0, 0, 2, 2, source, 255 + 256);  // only the low 8 bits count
    EXPECT_EQ(dump(copy), dump(source));
    Bitmap untouched = bitmap_of({{K, B}, {0x302010, W}});
    alpha_blend_same(untouched, 0, 0, 2, 2, source, 0);
    EXPECT_EQ(dump(untouched), dump(bitmap_of({{K, B}, {0x302010, W}})));

    // A source rectangle of another size is stretched onto the destination.
    Bitmap one = bitmap_of({{R, G}});
    Bitmap wide = surface(4, 1);
    alpha_blend(wide, 0, 0, 4, 1, one, 0, 0, 2, 1, 255);
    EXPECT_EQ(dump(wide), dump(bitmap_of({{R, R, G, G}})));
}

TEST(DrawBlockTest, FillAndCopyAreClippedOnBothSides) {
    Bitmap target = surface(3, 2);
    fill_rect(target, {-5, 1, 2, 9}, R);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, S, S}, {R, R, S}})));

    Bitmap source = bitmap_of({{R, G, B}, {Y, W, M}});
    target = surface(3, 2);
    // Asks for more than the source has, partly above the target.
    copy_block(target, 1, -1, 5, 5, source, 0, 0);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, Y, W}, {S, S, S}})));
    target = surface(3, 2);
    copy_block(target, 0, 0, 3, 2, source, -1, 1);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, Y, W}, {S, S, S}})));
}

TEST(DrawStateImageTest, KindAndPlacementChooseTheCopy) {
    Bitmap image = bitmap_of({{R}});
    Bitmap mask = bitmap_of({{K}});
    auto drawn = [&](int32_t kind, int32_t placement) {
        Bitmap target = bitmap_of({{G, G, G}});
        draw_state_image(target, {0, 0, 3, 1}, kind, placement, &image, &mask);
        return dump(target);
    };
    EXPECT_EQ(drawn(1, 1), dump(bitmap_of({{G, R, G}})));
    EXPECT_EQ(drawn(1, 2), dump(bitmap_of({{R, R, R}})));
    EXPECT_EQ(drawn(2, 1), dump(bitmap_of({{G, R, G}})));
    EXPECT_EQ(drawn(2, 2), dump(bitmap_of({{R, R, R}})));
    for (auto [kind, placement] : {std::pair{3, 1}, {3, 2}, {1, 3}, {2, 3}, {0, 0}}) {
        EXPECT_EQ(drawn(kind, placement), dump(bitmap_of({{G, G, G}}))) << kind << placement;
    }
}

TEST(DrawLineTest, LinesLeaveOutTheirEndPoint) {
    Bitmap target = surface(5, 1);
    const Pen red{R, 1};
    draw_line(target, 0, 0, 4, 0, &red);
    EXPECT_EQ(drawn_columns(target), "0 1 2 3 ");

    target = surface(4, 4);
    draw_line(target, 3, 3, 0, 0, &red);
    EXPECT_EQ(dump(target), dump(bitmap_of({{S, S, S, S}, {S, R, S, S}, {S, S, R, S}, {S, S, S, R}})));

    // Without a pen the line is drawn black, one pixel wide.
    target = surface(3, 1);
    draw_line(target, 0, 0, 2, 0, nullptr);
    EXPECT_EQ(dump(target), dump(bitmap_of({{K, K, S}})));

    // A wide pen paints a square around every point; a line far away draws nothing
    // and does not walk its whole length.
    target = surface(4, 3);
    const Pen wide{B, 3};
    draw_line(target, 1, 1, 2, 1, &wide);
    EXPECT_EQ(dump(target), dump(bitmap_of({{B, B, B, S}, {B, B, B, S}, {B, B, B, S}})));
    draw_line(target, -2000000000, -5, 2000000000, -5, &red);
    EXPECT_EQ(colour_at(target, 3, 0), S);
}

TEST(DrawGeometryTest, DeflateAndImageSize) {
    EXPECT_EQ(deflate_rect({10, 20, 110, 220}, 1, 2, 3, 4), (Rect{11, 22, 107, 216}));
    EXPECT_EQ(deflate_rect({10, 20, 30, 40}, -1, -1, -1, -1), (Rect{9, 19, 31, 41}));
    int32_t w = -1;
    int32_t h = -1;
    EXPECT_FALSE(image_size(nullptr, w, h));
    Bitmap image(7, 3);
    ASSERT_TRUE(image_size(&image, w, h));
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 3);
}

}  // namespace
}  // namespace tiltophon
