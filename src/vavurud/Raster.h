// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

// The pixel loops shared by the drawing primitives. Every copy maps each destination
// pixel to one source pixel and hands the pair to a pixel operation; only destination
// pixels on the target whose source pixel lies on the source are touched.
namespace tiltophon::raster {

// The part of `rect` that lies on a surface of the given size.
inline Rect clip_to(const Rect& rect, int32_t width, int32_t height) {
    return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width),
            std::min(rect.bottom, height)};
}

// Where an image of the given size goes when centred in the rectangle. The offsets
// truncate toward zero, so an image one pixel wider than the rectangle starts at its
// left edge and one two pixels wider one pixel to the left of it.
inline Rect centred_in(const Rect& rect, int32_t width, int32_t height) {
    const int32_t x = rect.left + (rect.width() - width) / 2;
    const int32_t y = rect.top + (rect.height() - height) / 2;
    return {x, y, x + width, y + height};
}

// The source coordinate for destination offset `i` when `source_extent` pixels are
// scaled to `dest_extent`: the source pixel under the destination pixel's centre,
// floor((i + 1/2) x source / dest). For equal extents this is `i` itself.
inline int32_t nearest(int64_t i, int64_t source_extent, int64_t dest_extent) {
    return static_cast<int32_t>(((2 * i + 1) * source_extent) / (2 * dest_extent));
}

// Sets `n` pixels to one value, four at a time (a plain loop of single stores is
// left unvectorised at -O2 and costs a store per pixel).
inline void fill_row(uint32_t* d, int32_t n, uint32_t pixel) {
    using Four = uint32_t __attribute__((vector_size(16)));
    const Four four = Four{} + pixel;
    int32_t i = 0;
    for (; i + 4 <= n; i += 4) std::memcpy(d + i, &four, sizeof four);
    for (; i < n; ++i) d[i] = pixel;
}

// The reference loop: `op(destination_pixel&, source_pixel)` for every mapped pair.
// `dest` and `from` must not be empty.
template <typename PixelOp>
void map_pixels(Bitmap& target, const Rect& dest, const Bitmap& source, const Rect& from,
                PixelOp op) {
    const Rect clip = clip_to(dest, target.width(), target.height());
    if (clip.empty()) return;
    std::vector<int32_t> columns;
    columns.reserve(clip.width());
    for (int32_t x = clip.left; x < clip.right; ++x) {
        columns.push_back(from.left + nearest(x - dest.left, from.width(), dest.width()));
    }
    for (int32_t y = clip.top; y < clip.bottom; ++y) {
        const int32_t sy = from.top + nearest(y - dest.top, from.height(), dest.height());
        if (sy < 0 || sy >= source.height()) continue;
        const uint32_t* s = source.row(sy);
        uint32_t* d = target.row(y) + clip.left;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int32_t sx = columns[i];
            if (sx >= 0 && sx < source.width()) op(d[i], s[sx]);
        }
    }
}

// One-to-one copies: the rectangle is clipped against both surfaces at once and each
// row run goes to `row_op(destination, source, count)`. Gives the same pixels as
// `map_pixels` with equal extents.
template <typename RowOp>
void map_rows(Bitmap& target, int32_t x, int32_t y, int32_t width, int32_t height,
              const Bitmap& source, int32_t sx, int32_t sy, RowOp row_op) {
    // Clip the source side, moving the destination with it, then the destination side.
    int32_t left = std::max({0, -sx, -x});
    int32_t top = std::max({0, -sy, -y});
    int32_t right = std::min({width, source.width() - sx, target.width() - x});
    int32_t bottom = std::min({height, source.height() - sy, target.height() - y});
    if (left >= right || top >= bottom) return;
    // Whole rows of two surfaces of one width lie end to end: one run, which lets a
    // copy of whole pictures go at the speed of memcpy. A surface copied onto itself
    // keeps going row by row, as overlapping rows need.
    const bool whole_rows = left == 0 && x == 0 && sx == 0 && right == target.width() &&
                            right == source.width() && &target != &source;
    const int64_t run = int64_t{bottom - top} * right;
    if (whole_rows && run <= INT32_MAX) {
        row_op(target.row(y + top), source.row(sy + top), static_cast<int32_t>(run));
        return;
    }
    for (int32_t row = top; row < bottom; ++row) {
        row_op(target.row(y + row) + x + left, source.row(sy + row) + sx + left, right - left);
    }
}

// Scaled copies, giving the same pixels as `map_pixels`: each destination row takes
// the source pixels under it, gathered once for each run of rows on the same source
// row, through the row loop. The columns on the source form one run because the
// mapping never decreases; when the widths match they are a run of the source row
// itself and nothing is gathered.
template <typename RowOp>
void map_scaled_rows(Bitmap& target, const Rect& dest, const Bitmap& source, const Rect& from,
                     RowOp row_op) {
    const Rect clip = clip_to(dest, target.width(), target.height());
    if (clip.empty()) return;
    auto column = [&](int32_t x) {
        return from.left + nearest(x - dest.left, from.width(), dest.width());
    };
    int32_t left = clip.left;
    while (left < clip.right && column(left) < 0) ++left;
    int32_t right = clip.right;
    while (right > left && column(right - 1) >= source.width()) --right;
    if (left >= right) return;
    const int32_t count = right - left;
    const bool same_width = dest.width() == from.width();
    std::vector<int32_t> columns;
    std::vector<uint32_t> gathered;
    if (!same_width) {
        columns.reserve(count);
        for (int32_t x = left; x < right; ++x) columns.push_back(column(x));
        gathered.resize(count);
    }
    int32_t gathered_row = -1;
    for (int32_t y = clip.top; y < clip.bottom; ++y) {
        const int32_t sy = from.top + nearest(y - dest.top, from.height(), dest.height());
        if (sy < 0 || sy >= source.height()) continue;
        uint32_t* d = target.row(y) + left;
        if (same_width) {
            row_op(d, source.row(sy) + column(left), count);
            continue;
        }
        if (sy != gathered_row) {
            const uint32_t* s = source.row(sy);
            for (int32_t i = 0; i < count; ++i) gathered[i] = s[columns[i]];
            gathered_row = sy;
        }
        row_op(d, gathered.data(), count);
    }
}

// Scaled when the extents differ, one to one when they match, both through the row
// form of `op` (`op(destination, source, count)`); its pixel form serves `map_pixels`.
template <typename Op>
void blit(Bitmap& target, const Rect& dest, const Bitmap& source, const Rect& from, Op op) {
    if (dest.empty() || from.empty()) return;
    if (dest.width() == from.width() && dest.height() == from.height()) {
        map_rows(target, dest.left, dest.top, dest.width(), dest.height(), source, from.left,
                 from.top, op);
    } else {
        map_scaled_rows(target, dest, source, from, op);
    }
}

// Raster operations of the image copies, as pixel and row operations. Alpha stays 0xFF
// under all of them because both sides are opaque.
struct CopyOp {
    void operator()(uint32_t& d, uint32_t s) const { d = s; }
    void operator()(uint32_t* d, const uint32_t* s, int32_t n) const {
        std::memmove(d, s, static_cast<std::size_t>(n) * sizeof(uint32_t));
    }
};
struct AndOp {
    void operator()(uint32_t& d, uint32_t s) const { d &= s; }
    void operator()(uint32_t* d, const uint32_t* s, int32_t n) const {
        for (int32_t i = 0; i < n; ++i) d[i] &= s[i];
    }
};
struct OrOp {
    void operator()(uint32_t& d, uint32_t s) const { d |= s; }
    void operator()(uint32_t* d, const uint32_t* s, int32_t n) const {
        for (int32_t i = 0; i < n; ++i) d[i] |= s[i];
    }
};
// Copies every pixel except those of the key colour.
struct KeyOp {
    uint32_t key;  // a pixel value, compared without its alpha
    void operator()(uint32_t& d, uint32_t s) const {
        if (((s ^ key) & 0x00FFFFFFu) != 0) d = s;
    }
    void operator()(uint32_t* d, const uint32_t* s, int32_t n) const {
        for (int32_t i = 0; i < n; ++i) (*this)(d[i], s[i]);
    }
};

// Source over destination with a constant alpha a (0..255), per channel
// (s x a + d x (255 - a)) / 255 rounded to nearest: 255 gives the source, 0 leaves
// the destination.
inline uint32_t blend_pixel(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t ia = 255 - a;
    auto channel = [&](int shift) {
        const uint32_t mixed = ((s >> shift) & 0xFFu) * a + ((d >> shift) & 0xFFu) * ia;
        return ((mixed + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

// A row loop of the blend: out[i] = blend_pixel(above[i], below[i], a) for i < n.
// `out` may be either input.
using BlendRow = void (*)(uint32_t* out, const uint32_t* below, const uint32_t* above, int32_t n,
                          uint32_t a);
struct BlendRowPath {
    const char* name;
    BlendRow row;
};
// The blend's row loops this machine can run, fastest first; the first is the one in
// use. Each gives exactly the pixels of `blend_pixel`.
const std::vector<BlendRowPath>& blend_row_paths();

inline void blend_row(uint32_t* out, const uint32_t* below, const uint32_t* above, int32_t n,
                      uint32_t a) {
    static const BlendRow fastest = blend_row_paths().front().row;
    fastest(out, below, above, n, a);
}

struct BlendOp {
    uint32_t alpha;
    void operator()(uint32_t& d, uint32_t s) const { d = blend_pixel(s, d, alpha); }
    void operator()(uint32_t* d, const uint32_t* s, int32_t n) const {
        blend_row(d, d, s, n, alpha);
    }
};

// Applies one of the image copies' raster operations (copy, AND, OR); false, and
// nothing drawn, for any other code.
bool blit_rop(Bitmap& target, const Rect& dest, const Bitmap& source, const Rect& from,
              uint32_t raster_op);

}  // namespace tiltophon::raster
