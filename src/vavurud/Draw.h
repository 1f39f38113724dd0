// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

namespace tiltophon {

// The drawing primitives through which every control, the frame painter and the
// splash screen draw. A context is one of the program's pixel surfaces; no
// primitive reports failure: a missing image simply draws nothing.
using DrawContext = Bitmap;

// Raster operations, by their classic codes.
namespace rop {
constexpr uint32_t kCopy = 0x00CC0020;
constexpr uint32_t kAnd = 0x008800C6;
constexpr uint32_t kOr = 0x00EE0086;
constexpr uint32_t kPatternCopy = 0x00F00021;
}  // namespace rop

// The transparent key colour of icons (magenta).
constexpr Colour kKeyColour = 0xFF00FF;

// Draw-text format flags.
namespace text_format {
constexpr uint32_t kLeft = 0x0;
constexpr uint32_t kCentre = 0x1;
constexpr uint32_t kRight = 0x2;
constexpr uint32_t kTop = 0x0;
constexpr uint32_t kVerticalCentre = 0x4;
constexpr uint32_t kBottom = 0x8;
constexpr uint32_t kSingleLine = 0x20;
constexpr uint32_t kEndEllipsis = 0x8000;
// The toolkit's default: single line, vertically centred, end ellipsis, left aligned.
constexpr uint32_t kDefault = 0x8024;
}  // namespace text_format

enum ImageKind : int32_t { kImagePlain = 1, kImageMasked = 2 };
enum ImagePlacement : int32_t { kPlaceCentred = 1, kPlaceStretched = 2 };

// Gradient directions.
constexpr uint32_t kGradientHorizontal = 0;
constexpr uint32_t kGradientVertical = 1;

// A pen for lines, owned by the caller.
struct Pen {
    Colour colour = 0;
    int32_t width = 1;
};

// Lengths are designed at 96 dpi: (n x dpi + 48) / 96, with the screen's dpi read
// once on first use.
int32_t scale_x(int32_t n);
int32_t scale_y(int32_t n);
// Tests only: forget the dpi read, so the next scale reads the screen again.
void reset_scale_cache();

bool image_size(Image image, int32_t& width, int32_t& height);
Rect deflate_rect(const Rect& rect, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Solid fill of a rectangle, clipped to the context.
void fill_rect(DrawContext& context, const Rect& rect, Colour colour);
// Plain copy of a w x h block of `source` at (sx, sy) to (x, y), clipped on both sides.
void copy_block(DrawContext& destination, int32_t x, int32_t y, int32_t width, int32_t height,
                const DrawContext& source, int32_t sx, int32_t sy);

// Natural size, centred in the rectangle (an image larger than it overhangs evenly).
void blit_centered(DrawContext& context, const Rect& rect, Image image);
void blit_centered_rop(DrawContext& context, const Rect& rect, Image image, uint32_t raster_op);
void blit_centered_masked(DrawContext& context, const Rect& rect, Image image, Image mask);
void blit_centered_transparent(DrawContext& context, const Rect& rect, Image image, Colour key);

// Whole image scaled to the rectangle (nearest pixel).
void blit_stretched(DrawContext& context, const Rect& rect, Image image);
// The part `from` (inside the image) scaled to the rectangle, nearest pixel.
void blit_stretched_part(DrawContext& context, const Rect& rect, Image image, const Rect& from);
void blit_stretched_rop(DrawContext& context, const Rect& rect, Image image, uint32_t raster_op);
void blit_stretched_masked(DrawContext& context, const Rect& rect, Image image, Image mask);
void blit_stretched_transparent(DrawContext& context, const Rect& rect, Image image, Colour key);

// Fills the rectangle with the image tiled from the rectangle's top-left corner. Only
// the pattern copy is defined for a pattern; any other operation draws nothing.
void fill_pattern(DrawContext& context, const Rect& rect, Image image, uint32_t raster_op);

// Draws text (up to its first zero unit) with a transparent background on one line,
// aligned by the format, cut with "..." under the end-ellipsis flag, clipped to the
// rectangle. A null font draws in the surface's default font; with no font at all
// nothing is drawn.
void draw_text(DrawContext& context, std::u16string_view text, const Rect& rect, uint32_t format,
               Colour colour, FontHandle font);

// A caption fitted to the width of its box: in its own font when it fits; else in the
// largest smaller size of the same face, down to `kSmallestFitPercent` of the cell
// height, at which the whole caption fits; else in that smallest size, cut with "...".
struct FittedText {
    FontHandle font = nullptr;
    std::u16string text;
    bool cut = false;
};
constexpr int32_t kSmallestFitPercent = 70;
FittedText fit_text(std::u16string_view text, int32_t width, FontHandle font);
// `draw_text` of the fitted caption.
void draw_fitted_text(DrawContext& context, std::u16string_view text, const Rect& rect,
                      uint32_t format, Colour colour, FontHandle font);

// Like any line-to, the end point itself is left out. A null pen draws black, one
// pixel wide, as a fresh surface's own pen does.
void draw_line(DrawContext& context, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Pen* pen);

// Two-colour gradient from (left, top) in `start` to (right, bottom) in `end`. Step i of
// n across the run takes start + (end - start) x i / n in 16-bit channels (truncated),
// so the first row or column is exactly `start` and `end` sits on the exclusive edge.
void gradient_fill(DrawContext& context, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   Colour start, Colour end, uint32_t mode);

// Source-over with a constant alpha (0..255) and no per-pixel alpha.
void alpha_blend(DrawContext& destination, int32_t x, int32_t y, int32_t width, int32_t height,
                 const DrawContext& source, int32_t sx, int32_t sy, int32_t source_width,
                 int32_t source_height, uint32_t alpha);
void alpha_blend_same(DrawContext& destination, int32_t x, int32_t y, int32_t width,
                      int32_t height, const DrawContext& source, uint32_t alpha);
// The w x h block at the origin of `above` blended over that of `below` into
// `destination`: the pixels of copying `below` and then blending `above` onto it, in
// one pass over the three.
void alpha_blend_over(DrawContext& destination, const DrawContext& below, const DrawContext& above,
                      int32_t width, int32_t height, uint32_t alpha);

// Kind 1 plain or 2 masked, placement 1 centred or 2 stretched; anything else draws nothing.
void draw_state_image(DrawContext& context, const Rect& rect, int32_t kind, int32_t placement,
                      Image image, Image mask);

}  // namespace tiltophon
