// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Text.h"

namespace tiltophon {

// A logical font as the program asks for it. A positive height is the cell
// height (ascent plus descent) in pixels, not the em size.
struct LogicalFont {
    int32_t height = 0;
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    uint8_t char_set = 0;
    uint8_t output_precision = 0;
    uint8_t clip_precision = 0;
    uint8_t quality = 0;
    uint8_t pitch_and_family = 0;
    FixedText<32> face;
};

// A font ready to render. Text layout (alignment, ellipsis) is the program's;
// the font only measures and paints glyph runs.
class Font {
public:
    virtual ~Font() = default;
    virtual int32_t ascent() const = 0;
    virtual int32_t descent() const = 0;
    // Advance width of the text in pixels.
    virtual int32_t text_width(std::u16string_view text) const = 0;
    // The same face at another cell height, made once and owned by this font; null
    // when it cannot be had (and for fonts that cannot change size).
    virtual const Font* at_cell_height(int32_t) const { return nullptr; }
    // Paints the text anti-aliased with its baseline at y, starting at x, in
    // `pixel` colour, touching no pixel outside `clip`.
    virtual void draw(Bitmap& target, const Rect& clip, int32_t x, int32_t baseline_y,
                      std::u16string_view text, uint32_t pixel) const = 0;
};

// Fonts are borrowed from their owner (the skin); null means the surface default.
using FontHandle = const Font*;

class FontEngine {
public:
    virtual ~FontEngine() = default;
    // The face by name or the closest substitute; null when no font can be had.
    virtual std::unique_ptr<Font> create_font(const LogicalFont& description) = 0;
    // The plain sans face that text without a font of its own is drawn in; may be null.
    virtual const Font* default_font() = 0;
};

}  // namespace tiltophon
