// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Font.h"

namespace tiltophon::skingen {

struct Rgb {
    float r = 0;
    float g = 0;
    float b = 0;
};

// 0xRRGGBB as the designer writes it.
constexpr Rgb hex(uint32_t value) {
    return {((value >> 16) & 0xFF) / 255.0f, ((value >> 8) & 0xFF) / 255.0f, (value & 0xFF) / 255.0f};
}
Rgb mix(Rgb a, Rgb b, float t);

// A shape as a signed distance in pixels: negative inside, positive outside.
using Shape = std::function<float(float x, float y)>;
// A colour for each point, so shapes can carry gradients.
using Paint = std::function<Rgb(float x, float y)>;

Paint solid(Rgb colour);
Paint vertical(Rgb top, Rgb bottom, float y0, float y1);

Shape rounded_rect(float left, float top, float right, float bottom, float radius);
Shape circle(float cx, float cy, float radius);
Shape ring(float cx, float cy, float radius, float thickness);
// A segment with round ends, `width` across.
Shape segment(float x1, float y1, float x2, float y2, float width);
// A convex polygon, points in either turning order.
Shape polygon(std::initializer_list<std::pair<float, float>> points);
Shape unite(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
// The shape turned by `degrees` (clockwise on screen) around (cx, cy).
Shape rotate(Shape shape, float cx, float cy, float degrees);
Shape subtract(Shape a, Shape b);
Shape offset(Shape shape, float dx, float dy);

// An RGBA picture drawn with anti-aliased shapes; turned into the program's opaque
// pixels when saved.
class Canvas {
public:
    Canvas(int32_t width, int32_t height, Rgb background = {}, float alpha = 1.0f);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    void fill(const Shape& shape, const Paint& paint, float opacity = 1.0f);
    void fill(const Shape& shape, Rgb colour, float opacity = 1.0f) {
        fill(shape, solid(colour), opacity);
    }
    // A soft shadow or glow: the shape blurred by `spread` pixels.
    void glow(const Shape& shape, Rgb colour, float spread, float opacity);
    // Text in the given font, horizontally centred on cx with its cell centred on cy
    // (or starting at x when `centred` is false).
    void text(const Font* font, std::u16string_view text, float x, float cy, Rgb colour,
              bool centred = true);

    // Opaque pixels; partly transparent ones are composited over `under`.
    Bitmap flatten(Rgb under = {}) const;
    // Opaque where alpha reaches one half, the key colour elsewhere: hard edges, so no
    // half-keyed fringe shows when the key is left out.
    Bitmap keyed(uint32_t key_pixel) const;
    // The mask that goes with `keyed(black)`: black where the picture is, white where
    // the background is to show.
    Bitmap mask() const;
    // The pixels with their alpha kept, for files read by other programs.
    Bitmap with_alpha() const;

private:
    struct Pixel {
        Rgb colour;
        float alpha;
    };
    void blend(int32_t x, int32_t y, Rgb colour, float coverage);

    int32_t width_;
    int32_t height_;
    std::vector<Pixel> pixels_;
};

}  // namespace tiltophon::skingen
