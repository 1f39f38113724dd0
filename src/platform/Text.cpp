// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Text.h"

#include <locale.h>
#include <wctype.h>

#include <utility>

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

// The letter case rules of Unicode as the C library knows them, in a UTF-8 locale
// of their own, so the process's locale never changes how names compare. Null when
// the system has no such locale; then only ASCII letters fold.
locale_t case_locale() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

// The UTF-16 units of a text with every character folded, one at a time, so that
// comparing them compares the folded texts unit by unit, without copying them.
class FoldedUnits {
public:
    explicit FoldedUnits(std::u16string_view text) : text_(text) {}

    bool at_end() const { return pending_ == 0 && position_ >= text_.size(); }

    char16_t next() {
        if (pending_ != 0) return std::exchange(pending_, 0);
        char32_t code_point = text_[position_++];
        bool high = code_point >= 0xD800 && code_point <= 0xDBFF;
        if (high && position_ < text_.size() && text_[position_] >= 0xDC00 &&
            text_[position_] <= 0xDFFF) {
            code_point = 0x10000 + ((code_point - 0xD800) << 10) + (text_[position_++] - 0xDC00);
        } else if (code_point >= 0xD800 && code_point <= 0xDFFF) {
            return static_cast<char16_t>(code_point);  // a lone surrogate stays as it is
        }
        char32_t folded = fold_case(code_point);
        if (folded < 0x10000) return static_cast<char16_t>(folded);
        folded -= 0x10000;
        pending_ = static_cast<char16_t>(0xDC00 + (folded & 0x3FF));
        return static_cast<char16_t>(0xD800 + (folded >> 10));
    }

private:
    std::u16string_view text_;
    std::size_t position_ = 0;
    char16_t pending_ = 0;
};

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

char32_t fold_case(char32_t code_point) {
    // ASCII first: most names are ASCII, and their order must never depend on the locale.
    if (code_point < 0x80) {
        return code_point >= U'A' && code_point <= U'Z' ? code_point + (U'a' - U'A') : code_point;
    }
    locale_t locale = case_locale();
    if (!locale) return code_point;
    // Upper then lower case gives the simple case folding: it also joins the variant
    // forms of a letter (final sigma, long s, the micro sign) with its usual one.
    wint_t upper = ::towupper_l(static_cast<wint_t>(code_point), locale);
    return static_cast<char32_t>(::towlower_l(upper, locale));
}

int compare_ignoring_case(std::u16string_view a, std::u16string_view b) {
    FoldedUnits x(a);
    FoldedUnits y(b);
    for (;;) {
        if (x.at_end() || y.at_end()) {
            if (x.at_end() && y.at_end()) return 0;
            return x.at_end() ? -1 : 1;
        }
        char16_t p = x.next();
        char16_t q = y.next();
        if (p != q) return p < q ? -1 : 1;
    }
}

bool ends_with_ignoring_case(std::u16string_view text, std::u16string_view suffix) {
    if (suffix.size() > text.size()) return false;
    return compare_ignoring_case(text.substr(text.size() - suffix.size()), suffix) == 0;
}

}  // namespace tiltophon
