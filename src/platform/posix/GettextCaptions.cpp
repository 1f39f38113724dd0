// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/GettextCaptions.h"

#include <libintl.h>
#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>

#include "platform/MessageCatalogue.h"
#include "platform/Text.h"

namespace tiltophon {

namespace {

bool is_plain_c(const char* locale) {
    return !locale || std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0;
}

// Whether gettext may load every catalogue it could find for this language: none
// that exists is damaged. A file that cannot be read at all gettext cannot load either.
bool catalogues_sound(const std::string& locale_folder, std::string_view language) {
    for (const std::string& folder : catalogue_folders(language)) {
        std::ifstream file(locale_folder + "/" + folder + "/LC_MESSAGES/" +
                               GettextCaptions::kDomain + ".mo",
                           std::ios::binary | std::ios::ate);
        if (!file) continue;
        const std::streamoff size = file.tellg();
        std::string bytes;
        if (size >= 0 && static_cast<std::size_t>(size) <= kLargestCatalogue) {
            bytes.resize(static_cast<std::size_t>(size));
            file.seekg(0);
            file.read(bytes.data(), size);
            bytes.resize(static_cast<std::size_t>(file.gcount()));
        }
        if (!is_sound_catalogue(bytes)) {
            std::fprintf(stderr, "tiltophon: the %s captions are damaged; showing English\n",
                         std::string(language).c_str());
            return false;
        }
    }
    return true;
}

// The "Language:" field of a catalogue's header, when it is a plain language name.
std::u16string header_language(const char* header) {
    constexpr std::string_view kField = "Language: ";
    const std::string_view text = header ? header : "";
    const std::size_t at = text.find(kField);
    if (at == std::string_view::npos) return {};
    std::string_view value = text.substr(at + kField.size());
    value = value.substr(0, value.find('\n'));
    const bool plain = !value.empty() && value.size() <= 16 &&
                       std::all_of(value.begin(), value.end(), [](char c) {
                           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
                                  c == '@';
                       });
    return plain ? utf16_from_utf8(value) : std::u16string();
}

// The languages of the list whose catalogues gettext may load.
std::string with_sound_catalogues(const std::string& locale_folder, std::string_view languages) {
    std::string kept;
    while (!languages.empty()) {
        const std::size_t colon = languages.find(':');
        const std::string_view language = languages.substr(0, colon);
        if (!language.empty() && catalogues_sound(locale_folder, language)) {
            if (!kept.empty()) kept += ':';
            kept += language;
        }
        if (colon == std::string_view::npos) break;
        languages.remove_prefix(colon + 1);
    }
    return kept;
}

}  // namespace

GettextCaptions::GettextCaptions(const std::string& locale_folder,
                                 const std::string& requested_languages) {
    if (requested_languages.empty() || locale_folder.empty()) return;
    const std::string languages = with_sound_catalogues(locale_folder, requested_languages);
    if (languages.empty()) return;
    // gettext ignores LANGUAGE under the plain C locale, which is what a user's locale
    // that this system lacks turns into.
    if (is_plain_c(setlocale(LC_MESSAGES, ""))) setlocale(LC_MESSAGES, "C.UTF-8");
    if (is_plain_c(setlocale(LC_MESSAGES, nullptr))) return;
    setenv("LANGUAGE", languages.c_str(), 1);
    if (!bindtextdomain(kDomain, locale_folder.c_str())) return;
    if (!bind_textdomain_codeset(kDomain, "UTF-8")) return;
    active_ = true;
    language_ = header_language(dgettext(kDomain, ""));
}

std::u16string GettextCaptions::translate(std::u16string_view english) const {
    if (!active_ || english.empty()) return std::u16string(english);
    const std::string key = utf8_from_utf16(english);
    const char* found = dgettext(kDomain, key.c_str());
    if (!found || found == key.c_str() || !*found) return std::u16string(english);
    return utf16_from_utf8(found);
}

std::string GettextCaptions::locale_folder_of(const std::string& program_folder) {
    std::string folder = program_folder;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    // Up from lib/tiltophon to the prefix.
    for (int level = 0; level < 2; ++level) {
        const std::size_t slash = folder.rfind('/');
        if (slash == std::string::npos) return {};
        folder.resize(slash);
    }
    return folder + "/share/locale";
}

std::string GettextCaptions::languages_from_environment() {
    return preferred_languages(getenv("LANGUAGE"), getenv("LC_ALL"), getenv("LC_MESSAGES"),
                               getenv("LANG"));
}

}  // namespace tiltophon
