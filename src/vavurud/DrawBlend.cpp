// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Constant-alpha blending of one surface onto another, and the blend's row loops.
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

namespace raster {

namespace {

// The row loops work on the compiler's portable vectors of 16-bit lanes (SIMD where
// the machine has it). A pixel 0xAARRGGBB is two lanes, 0xGGBB then 0xAARR, so
// masking each lane's low byte gives blue and red, shifting it right by 8 green and
// alpha. A channel's s x a + d x (255 - a) is at most 255 x 255 and fits its lane.
// `Words` is the same vector seen as pixels. The vectors stay inside one function, so
// none crosses a call whose conventions the AVX2 loop would change.
using Lanes16 = uint16_t __attribute__((vector_size(16)));
using Lanes32 = uint16_t __attribute__((vector_size(32)));
using Words16 = uint32_t __attribute__((vector_size(16)));
using Words32 = uint32_t __attribute__((vector_size(32)));

template <typename Vector, typename Words>
[[gnu::always_inline]] inline void blend_row_of(uint32_t* out, const uint32_t* below,
                                                const uint32_t* above, int32_t n, uint32_t a) {
    constexpr auto kPixels = static_cast<int32_t>(sizeof(Vector) / sizeof(uint32_t));
    const auto alpha = static_cast<uint16_t>(a);
    const auto inverse = static_cast<uint16_t>(255 - a);
    const auto opaque = reinterpret_cast<Vector>(Words{} + 0xFF000000u);
    int32_t i = 0;
    for (; i + kPixels <= n; i += kPixels) {
        Vector s;
        Vector d;
        std::memcpy(&s, above + i, sizeof s);
        std::memcpy(&d, below + i, sizeof d);
        // Rounded x / 255 as (y + (y >> 8)) >> 8 with y = x + 128: equal to
        // (x + 127) / 255 for every 0 <= x <= 255 x 255, and y + (y >> 8) < 65536.
        const Vector blue_red = (s & 0xFF) * alpha + (d & 0xFF) * inverse + 128;
        const Vector green_alpha = (s >> 8) * alpha + (d >> 8) * inverse + 128;
        const Vector blended = ((blue_red + (blue_red >> 8)) >> 8) |
                               (((green_alpha + (green_alpha >> 8)) >> 8) << 8) | opaque;
        std::memcpy(out + i, &blended, sizeof blended);
    }
    for (; i < n; ++i) out[i] = blend_pixel(above[i], below[i], a);
}

// Four pixels at a time: SSE2 on every x86-64, NEON on arm64.
void blend_row_portable(uint32_t* out, const uint32_t* below, const uint32_t* above, int32_t n,
                        uint32_t a) {
    blend_row_of<Lanes16, Words16>(out, below, above, n, a);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define TILTOPHON_BLEND_X86 1
// Eight pixels at a time, for processors that have AVX2. (Sixteen with AVX-512 measured
// no faster: a fade frame is then bound by memory.)
[[gnu::target("avx2")]] void blend_row_avx2(uint32_t* out, const uint32_t* below,
                                            const uint32_t* above, int32_t n, uint32_t a) {
    blend_row_of<Lanes32, Words32>(out, below, above, n, a);
}
#endif

std::vector<BlendRowPath> usable_blend_rows() {
    std::vector<BlendRowPath> paths;
#ifdef TILTOPHON_BLEND_X86
    __builtin_cpu_init();  // the first use may come from a static constructor
    if (__builtin_cpu_supports("avx2")) paths.push_back({"avx2", blend_row_avx2});
#endif
    paths.push_back({"portable", blend_row_portable});
    return paths;
}

}  // namespace

const std::vector<BlendRowPath>& blend_row_paths() {
    static const std::vector<BlendRowPath> paths = usable_blend_rows();
    return paths;
}

}  // namespace raster

void alpha_blend(DrawContext& destination, int32_t x, int32_t y, int32_t width, int32_t height,
                 const DrawContext& source, int32_t sx, int32_t sy, int32_t source_width,
                 int32_t source_height, uint32_t alpha) {
    const raster::BlendOp op{alpha & 0xFFu};
    raster::blit(destination, {x, y, x + width, y + height}, source,
                 {sx, sy, sx + source_width, sy + source_height}, op);
}

void alpha_blend_over(DrawContext& destination, const DrawContext& below, const DrawContext& above,
                      int32_t width, int32_t height, uint32_t alpha) {
    const auto fits = [&](const DrawContext& surface) {
        return surface.width() >= width && surface.height() >= height;
    };
    if (width <= 0 || height <= 0) return;
    if (!fits(destination) || !fits(below) || !fits(above)) {
        copy_block(destination, 0, 0, width, height, below, 0, 0);
        alpha_blend(destination, 0, 0, width, height, above, 0, 0, width, height, alpha);
        return;
    }
    for (int32_t y = 0; y < height; ++y) {
        raster::blend_row(destination.row(y), below.row(y), above.row(y), width, alpha & 0xFFu);
    }
}

void alpha_blend_same(DrawContext& destination, int32_t x, int32_t y, int32_t width,
                      int32_t height, const DrawContext& source, uint32_t alpha) {
    alpha_blend(destination, x, y, width, height, source, 0, 0, width, height, alpha);
}

}  // namespace tiltophon
