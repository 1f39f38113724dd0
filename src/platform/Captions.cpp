// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Captions.h"

#include <algorithm>

namespace tiltophon {

namespace {

constexpr std::size_t kMaxNameLength = 64;
constexpr int kMaxLanguages = 16;

bool is_set(const char* value) { return value && *value; }

// "de", "de_DE.UTF-8", "sr@latin": letters, digits and the separators of a locale
// name, starting with a letter. Anything else would only make gettext look in odd
// places, or nowhere.
bool is_language_name(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength) return false;
    auto is_letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!is_letter(name.front())) return false;
    return std::all_of(name.begin(), name.end(), [&](char c) {
        return is_letter(c) || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '@' ||
               c == '-';
    });
}

// The language names of a colon-separated list that can be names, at most 16.
std::string language_names(std::string_view list) {
    std::string chosen;
    int count = 0;
    while (count < kMaxLanguages) {
        const std::size_t colon = list.find(':');
        const std::string_view name = list.substr(0, colon);
        if (is_language_name(name)) {
            if (!chosen.empty()) chosen += ':';
            chosen += name;
            ++count;
        }
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return chosen;
}

}  // namespace

std::string preferred_languages(const char* language, const char* lc_all, const char* lc_messages,
                                const char* lang) {
    const char* locale = is_set(lc_all) ? lc_all : is_set(lc_messages) ? lc_messages : lang;
    if (!is_set(locale)) return {};
    const std::string_view locale_name(locale);
    if (locale_name == "C" || locale_name == "POSIX") return {};

    // A LANGUAGE with nothing usable in it is as good as none.
    std::string chosen = is_set(language) ? language_names(language) : std::string();
    return chosen.empty() ? language_names(locale_name) : chosen;
}

}  // namespace tiltophon
