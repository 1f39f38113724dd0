// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tiltophon::skingen {

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Paint solid(Rgb colour) {
    return [colour](float, float) { return colour; };
}

Paint vertical(Rgb top, Rgb bottom, float y0, float y1) {
    return [=](float, float y) { return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

Shape rounded_rect(float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2;
    const float cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius;
    const float hy = (bottom - top) / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::abs(x - cx) - hx;
        const float qy = std::abs(y - cy) - hy;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Shape circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape ring(float cx, float cy, float radius, float thickness) {
    return [=](float x, float y) { return std::abs(std::hypot(x - cx, y - cy) - radius) - thickness / 2; };
}

Shape segment(float x1, float y1, float x2, float y2, float width) {
    return [=](float x, float y) {
        const float dx = x2 - x1;
        const float dy = y2 - y1;
        const float length2 = dx * dx + dy * dy;
        const float t = length2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / length2, 0.0f, 1.0f) : 0;
        return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy)) - width / 2;
    };
}

Shape polygon(std::initializer_list<std::pair<float, float>> list) {
    const std::vector<std::pair<float, float>> points(list);
    float cx = 0;
    float cy = 0;
    for (const auto& [x, y] : points) {
        cx += x / points.size();
        cy += y / points.size();
    }
    // Each edge as a line with its normal pointing away from the centre. The largest
    // distance to these lines is exact inside a convex polygon and close enough just
    // outside it, which is all the anti-aliasing needs.
    struct Edge {
        float ax, ay, nx, ny;
    };
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& [ax, ay] = points[i];
        const auto& [bx, by] = points[(i + 1) % points.size()];
        const float length = std::hypot(bx - ax, by - ay);
        float nx = (by - ay) / length;
        float ny = -(bx - ax) / length;
        if (nx * (cx - ax) + ny * (cy - ay) > 0) {
            nx = -nx;
            ny = -ny;
        }
        edges.push_back({ax, ay, nx, ny});
    }
    return [edges](float x, float y) {
        float distance = -1e9f;
        for (const Edge& e : edges) distance = std::max(distance, (x - e.ax) * e.nx + (y - e.ay) * e.ny);
        return distance;
    };
}

Shape intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Shape rotate(Shape shape, float cx, float cy, float degrees) {
    const float radians = degrees * 3.14159265f / 180;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    return [=](float x, float y) {
        const float dx = x - cx;
        const float dy = y - cy;
        return shape(cx + dx * c + dy * s, cy - dx * s + dy * c);
    };
}

Shape unite(Shape a, Shape b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Shape subtract(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Shape offset(Shape shape, float dx, float dy) {
    return [=](float x, float y) { return shape(x - dx, y - dy); };
}

Canvas::Canvas(int32_t width, int32_t height, Rgb background, float alpha)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, {background, alpha}) {}

void Canvas::blend(int32_t x, int32_t y, Rgb colour, float coverage) {
    if (coverage <= 0) return;
    Pixel& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
    const float alpha = coverage + p.alpha * (1 - coverage);
    if (alpha <= 0) return;
    const float keep = p.alpha * (1 - coverage) / alpha;
    p.colour = {colour.r * (coverage / alpha) + p.colour.r * keep,
                colour.g * (coverage / alpha) + p.colour.g * keep,
                colour.b * (coverage / alpha) + p.colour.b * keep};
    p.alpha = alpha;
}

void Canvas::fill(const Shape& shape, const Paint& paint, float opacity) {
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const float cx = x + 0.5f;
            const float cy = y + 0.5f;
            const float coverage = std::clamp(0.5f - shape(cx, cy), 0.0f, 1.0f);
            if (coverage > 0) blend(x, y, paint(cx, cy), coverage * opacity);
        }
    }
}

void Canvas::glow(const Shape& shape, Rgb colour, float spread, float opacity) {
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const float d = shape(x + 0.5f, y + 0.5f);
            if (d >= spread) continue;
            const float t = d <= 0 ? 1.0f : 1.0f - d / spread;
            blend(x, y, colour, t * t * opacity);
        }
    }
}

void Canvas::text(const Font* font, std::u16string_view text, float x, float cy, Rgb colour,
                  bool centred) {
    if (!font) return;
    // The glyphs come as coverage: paint them white on black and use that as the mask.
    const int32_t width = font->text_width(text);
    const int32_t height = font->ascent() + font->descent();
    Bitmap mask(width + 4, height + 4);
    font->draw(mask, mask.bounds(), 2, 2 + font->ascent(), text, 0xFFFFFFFF);
    const int32_t left = static_cast<int32_t>(std::lround(centred ? x - width / 2.0f : x)) - 2;
    const int32_t top = static_cast<int32_t>(std::lround(cy - height / 2.0f)) - 2;
    for (int32_t y = 0; y < mask.height(); ++y) {
        for (int32_t xx = 0; xx < mask.width(); ++xx) {
            const int32_t tx = left + xx;
            const int32_t ty = top + y;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            blend(tx, ty, colour, (mask.pixel(xx, y) & 0xFF) / 255.0f);
        }
    }
}

namespace {

uint32_t to_pixel(Rgb c, float alpha) {
    auto byte = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    return (byte(alpha) << 24) | (byte(c.r) << 16) | (byte(c.g) << 8) | byte(c.b);
}

}  // namespace

Bitmap Canvas::flatten(Rgb under) const {
    Bitmap bitmap(width_, height_);
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const Pixel& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
            bitmap.set_pixel(x, y, to_pixel(mix(under, p.colour, p.alpha), 1));
        }
    }
    return bitmap;
}

Bitmap Canvas::keyed(uint32_t key_pixel) const {
    Bitmap bitmap(width_, height_);
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const Pixel& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
            bitmap.set_pixel(x, y, p.alpha >= 0.5f ? to_pixel(p.colour, 1) : key_pixel);
        }
    }
    return bitmap;
}

Bitmap Canvas::mask() const {
    Bitmap bitmap(width_, height_);
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const bool inside = pixels_[static_cast<std::size_t>(y) * width_ + x].alpha >= 0.5f;
            bitmap.set_pixel(x, y, inside ? 0xFF000000u : 0xFFFFFFFFu);
        }
    }
    return bitmap;
}

Bitmap Canvas::with_alpha() const {
    Bitmap bitmap(width_, height_);
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const Pixel& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
            bitmap.set_pixel(x, y, to_pixel(p.colour, p.alpha));
        }
    }
    return bitmap;
}

}  // namespace tiltophon::skingen
