// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <vector>

namespace tiltophon::sensor {

// A sysfs bitmap: words in hexadecimal, the highest first, separated by blanks.
class SysfsBitmap {
public:
    explicit SysfsBitmap(std::string_view text) {
        while (!text.empty()) {
            size_t start = text.find_first_not_of(' ');
            if (start == std::string_view::npos) break;
            text.remove_prefix(start);
            size_t end = std::min(text.find(' '), text.size());
            unsigned long word = 0;
            std::from_chars(text.data(), text.data() + end, word, 16);
            words_.insert(words_.begin(), word);
            text.remove_prefix(end);
        }
    }
    bool has(unsigned bit) const {
        constexpr size_t kBitsPerWord = sizeof(long) * 8;
        size_t index = bit / kBitsPerWord;
        return index < words_.size() && (words_[index] >> (bit % kBitsPerWord)) & 1;
    }
    bool empty() const {
        return std::all_of(words_.begin(), words_.end(), [](unsigned long w) { return w == 0; });
    }

private:
    std::vector<unsigned long> words_;
};

}  // namespace tiltophon::sensor
