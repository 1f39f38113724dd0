// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Captions and sound names reach draw_text as any UTF-16 (file names carry lone
// surrogates for their invalid bytes), in rectangles and with flags that layout code
// computes. Whatever comes in, text stays inside the rectangle and the surface, and
// pixels stay opaque.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "Require.h"
#include "platform/Platform.h"
#include "platform/media/FreeTypeFontEngine.h"
#include "vavurud/Draw.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

constexpr uint32_t kBackground = 0xFF203040u;

struct Setup {
    FreeTypeFontEngine engine{28};
    Platform services;
    std::array<std::unique_ptr<Font>, 5> fonts;

    Setup() {
        services.fonts = &engine;
        install_platform(services);
        const std::array<LogicalFont, 5> wanted = [] {
            std::array<LogicalFont, 5> f{};
            f[0].height = 1;
            f[1].height = 9;
            f[2].height = 40;
            f[2].weight = 700;
            f[2].italic = true;
            f[3].height = -31;
            f[3].underline = true;
            f[4].height = 24;
            f[4].face.assign(u"Some Thin Face");
            return f;
        }();
        for (size_t i = 0; i < fonts.size(); ++i) fonts[i] = engine.create_font(wanted[i]);
    }
};

int32_t coordinate(FuzzedDataProvider& input) {
    // Mostly near the surface, so that text really gets drawn; sometimes anywhere.
    if (input.ConsumeIntegralInRange(0, 3) == 0) return input.ConsumeIntegral<int32_t>();
    return input.ConsumeIntegralInRange<int32_t>(-80, 80);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    FuzzedDataProvider input(data, size);

    const size_t choice = input.ConsumeIntegralInRange<size_t>(0, setup.fonts.size());
    FontHandle font = choice == 0 ? nullptr : setup.fonts[choice - 1].get();
    Bitmap surface(input.ConsumeIntegralInRange(0, 64), input.ConsumeIntegralInRange(0, 48),
                   kBackground);
    Rect rect;
    rect.left = coordinate(input);
    rect.top = coordinate(input);
    rect.right = coordinate(input);
    rect.bottom = coordinate(input);
    const uint32_t format = input.ConsumeIntegral<uint32_t>();
    const Colour colour = input.ConsumeIntegral<uint32_t>();
    std::u16string text;
    while (input.remaining_bytes() >= 2) text.push_back(input.ConsumeIntegral<char16_t>());

    draw_text(surface, text, rect, format, colour, font);

    for (int32_t y = 0; y < surface.height(); ++y) {
        for (int32_t x = 0; x < surface.width(); ++x) {
            const uint32_t pixel = surface.pixel(x, y);
            require((pixel >> 24) == 0xFF, "pixels stay opaque");
            if (!rect.contains(x, y))
                require(pixel == kBackground, "text stays inside its rectangle");
        }
    }
    return 0;
}
