// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Single-line text layout: alignment, end ellipsis and clipping to the rectangle.
// The font measures and paints; where the text goes is decided here.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {

namespace {

constexpr std::u16string_view kEllipsis = u"...";

bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Whether the text may be cut after its first `count` units (never inside a pair).
bool is_boundary(std::u16string_view text, std::size_t count) {
    return count == 0 || count >= text.size() ||
           !(is_high_surrogate(text[count - 1]) && is_low_surrogate(text[count]));
}

// The longest start of the text that fits in `room` pixels with the ellipsis after it,
// followed by the ellipsis. With no room even for the ellipsis, the ellipsis alone
// (clipping shows what it can of it).
std::u16string with_end_ellipsis(const Font& font, std::u16string_view text, int32_t room) {
    std::u16string shown;
    auto fits = [&](std::size_t count) {
        shown.assign(text.substr(0, count));
        shown.append(kEllipsis);
        return font.text_width(shown) <= room;
    };
    // Widths grow with the length, so search for the last count that fits.
    std::size_t low = 0;
    std::size_t high = text.size();
    while (low < high) {
        std::size_t mid = (low + high + 1) / 2;
        if (fits(mid)) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    if (!is_boundary(text, low)) --low;
    shown.assign(text.substr(0, low));
    shown.append(kEllipsis);
    return shown;
}

}  // namespace

void draw_text(DrawContext& context, std::u16string_view text, const Rect& rect, uint32_t format,
               Colour colour, FontHandle font) {
    text = text.substr(0, text.find(u'\0'));
    if (text.empty()) return;
    if (!font && platform().fonts) font = platform().fonts->default_font();
    if (!font) return;

    // Layout runs in 64 bits: a rectangle may lie anywhere in the 32-bit plane, and its
    // width or an aligned position need not fit in 32 bits.
    const int64_t rect_width = int64_t{rect.right} - rect.left;
    const int64_t rect_height = int64_t{rect.bottom} - rect.top;
    std::u16string cut;
    int64_t width = font->text_width(text);
    if ((format & text_format::kEndEllipsis) && width > rect_width) {
        const int64_t room = std::max<int64_t>(rect_width, INT32_MIN);
        cut = with_end_ellipsis(*font, text, static_cast<int32_t>(room));
        text = cut;
        width = font->text_width(text);
    }

    int64_t x = rect.left;
    if (format & text_format::kRight) {
        x = rect.right - width;
    } else if (format & text_format::kCentre) {
        x = rect.left + (rect_width - width) / 2;
    }
    // Vertical placement applies to single lines only; other text starts at the top.
    const int64_t line_height = int64_t{font->ascent()} + font->descent();
    int64_t y = rect.top;
    if (format & text_format::kSingleLine) {
        if (format & text_format::kBottom) {
            y = rect.bottom - line_height;
        } else if (format & text_format::kVerticalCentre) {
            y = rect.top + (rect_height - line_height) / 2;
        }
    }

    const Rect clip = raster::clip_to(rect, context.width(), context.height());
    if (clip.empty()) return;
    // Text that starts this far from any surface shows nothing of itself, however far
    // away it starts, so the font's own arithmetic can stay in 32 bits.
    constexpr int64_t kFar = int64_t{1} << 29;
    font->draw(context, clip, static_cast<int32_t>(std::clamp(x, -kFar, kFar)),
               static_cast<int32_t>(std::clamp(y + font->ascent(), -kFar, kFar)), text,
               pixel_from_colour(colour));
}

}  // namespace tiltophon

namespace tiltophon {

FittedText fit_text(std::u16string_view text, int32_t width, FontHandle font) {
    text = text.substr(0, text.find(u'\0'));
    if (!font && platform().fonts) font = platform().fonts->default_font();
    FittedText fitted{font, std::u16string(text), false};
    if (!font || text.empty()) return fitted;
    const int32_t natural = font->text_width(text);
    if (natural <= width) return fitted;

    const int32_t cell = font->ascent() + font->descent();
    const int32_t smallest = (cell * kSmallestFitPercent + 99) / 100;
    // Widths shrink about in proportion to the cell, so start just above the size that
    // should fit (hinting rounds each size its own way) and step down from there.
    const int32_t estimate =
        width > 0 ? static_cast<int32_t>(int64_t{cell} * width / natural) : smallest;
    FontHandle smaller = nullptr;
    const int32_t first = std::min(std::max(estimate + 2, smallest), cell - 1);
    for (int32_t height = first; height >= smallest; --height) {
        FontHandle candidate = font->at_cell_height(height);
        if (!candidate) break;
        smaller = candidate;
        if (candidate->text_width(text) <= width) {
            fitted.font = candidate;
            return fitted;
        }
    }
    if (smaller) fitted.font = smaller;
    fitted.text = with_end_ellipsis(*fitted.font, text, width);
    fitted.cut = true;
    return fitted;
}

void draw_fitted_text(DrawContext& context, std::u16string_view text, const Rect& rect,
                      uint32_t format, Colour colour, FontHandle font) {
    const int64_t width = int64_t{rect.right} - rect.left;
    const FittedText fitted =
        fit_text(text, static_cast<int32_t>(std::clamp<int64_t>(width, 0, INT32_MAX)), font);
    draw_text(context, fitted.text, rect, format, colour, fitted.font);
}

}  // namespace tiltophon
