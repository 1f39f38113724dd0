// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tiltophon {

// Text is UTF-16 throughout the program. Names and paths live in fixed buffers of
// N code units including the terminator; every copy into one is bounded, always
// terminated, and never cuts a surrogate pair in half.
template <std::size_t N>
class FixedText {
    static_assert(N >= 2, "a fixed text needs room for one unit and the terminator");

public:
    static constexpr std::size_t kCapacity = N - 1;

    FixedText() = default;
    FixedText(std::u16string_view text) { assign(text); }  // NOLINT: implicit by design
    FixedText(const char16_t* text) { assign(text); }      // NOLINT

    FixedText& assign(std::u16string_view text) {
        length_ = 0;
        units_[0] = 0;
        return append(text);
    }

    FixedText& assign(const char16_t* text) { return assign(view_of(text)); }

    // Appends as much of the text as fits; the text ends at its first zero unit.
    FixedText& append(std::u16string_view text) {
        std::size_t take = bounded_length(text, kCapacity - length_);
        for (std::size_t i = 0; i < take; ++i) units_[length_ + i] = text[i];
        length_ += take;
        units_[length_] = 0;
        return *this;
    }

    FixedText& append(const char16_t* text) { return append(view_of(text)); }

    void clear() {
        length_ = 0;
        units_[0] = 0;
    }

    std::size_t length() const { return length_; }
    bool empty() const { return length_ == 0; }
    const char16_t* c_str() const { return units_.data(); }
    std::u16string_view view() const { return {units_.data(), length_}; }
    std::u16string str() const { return std::u16string(view()); }
    operator std::u16string_view() const { return view(); }  // NOLINT: implicit by design

    char16_t operator[](std::size_t i) const { return units_[i]; }

    // Ends the text after `count` units (no effect when it is already shorter).
    void truncate(std::size_t count) {
        if (count < length_) {
            length_ = count;
            units_[length_] = 0;
        }
    }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
    friend bool operator==(const FixedText& a, std::u16string_view b) { return a.view() == b; }

private:
    static std::u16string_view view_of(const char16_t* text) {
        return text ? std::u16string_view(text) : std::u16string_view();
    }

    // How many units of `text` to take: up to its first zero, at most `room`, and
    // one fewer when the last one taken would be the high half of a pair.
    static std::size_t bounded_length(std::u16string_view text, std::size_t room) {
        std::size_t n = 0;
        while (n < text.size() && n < room && text[n] != 0) ++n;
        bool cut = n < text.size() && text[n] != 0;
        if (cut && n > 0 && is_high_surrogate(text[n - 1])) --n;
        return n;
    }

    static bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

    std::array<char16_t, N> units_{};
    std::size_t length_ = 0;
};

// The program's names and paths: 260 code units including the terminator.
using PathText = FixedText<260>;

// Conversions at the boundary to the operating system, whose names are bytes.
// Bytes that are not valid UTF-8 become the lone surrogates U+DC80..U+DCFF and
// turn back into the same bytes, so any file name the system reports can be
// opened again.
std::u16string utf16_from_utf8(std::string_view bytes);
std::string utf8_from_utf16(std::u16string_view text);

// Unicode's simple case folding of one character, for comparisons that ignore case;
// ASCII letters fold to lower case. Comparisons fold every character of both texts
// (a pair of surrogates is one character) and then compare UTF-16 units.
char32_t fold_case(char32_t code_point);
int compare_ignoring_case(std::u16string_view a, std::u16string_view b);
bool ends_with_ignoring_case(std::u16string_view text, std::u16string_view suffix);

}  // namespace tiltophon
