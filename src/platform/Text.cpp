// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Text.h"

#include <algorithm>

namespace tiltophon {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

void append_code_point(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Length of the well-formed UTF-8 sequence at `i`, or 0 when it is not one.
std::size_t sequence_length(std::string_view s, std::size_t i, char32_t& cp) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b0 = byte(i);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    if (cp < min || cp > 0x10FFFF || surrogate) return 0;
    return len;
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::u16string utf16_from_utf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        std::size_t len = sequence_length(bytes, i, cp);
        if (len == 0) {
            out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        } else {
            append_code_point(out, cp);
            i += len;
        }
    }
    return out;
}

std::string utf8_from_utf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        bool high = u >= 0xD800 && u <= 0xDBFF;
        bool low = u >= 0xDC00 && u <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            append_utf8(out, cp);
            ++i;
        } else if (low && u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            out.push_back(static_cast<char>(u - kEscapeBase));  // an escaped raw byte
        } else if (high || low) {
            append_utf8(out, 0xFFFD);  // a lone surrogate has no UTF-8 form
        } else {
            append_utf8(out, u);
        }
    }
    return out;
}

char16_t fold_case(char16_t unit) {
    if (unit >= u'A' && unit <= u'Z') return unit + (u'a' - u'A');
    if (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) return unit + 0x20;
    return unit;
}

int compare_ignoring_case(std::u16string_view a, std::u16string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char16_t x = fold_case(a[i]);
        char16_t y = fold_case(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool ends_with_ignoring_case(std::u16string_view text, std::u16string_view suffix) {
    if (suffix.size() > text.size()) return false;
    return compare_ignoring_case(text.substr(text.size() - suffix.size()), suffix) == 0;
}

}  // namespace tiltophon
