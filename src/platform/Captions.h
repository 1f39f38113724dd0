// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace tiltophon {

// The program's captions in the user's language. The English caption is the key; a
// caption the catalogue lacks, or any caption without a catalogue, stays English.
// A translation is only ever shown as text, never used as a format.
class Captions {
public:
    virtual ~Captions() = default;
    virtual std::u16string translate(std::u16string_view english) const = 0;
    // The language of the catalogue in use ("de"); empty for English. Pictures with
    // words in them are looked for in a folder of this name first.
    virtual std::u16string language() const { return {}; }
};

// Marks an English caption where it is written down, for the catalogue's template;
// it is translated where it is shown.
constexpr const char16_t* english_caption(const char16_t* english) { return english; }

// The languages the environment asks for, as gettext reads them: the colon-separated
// list of LANGUAGE, unless the locale (the first set of LC_ALL, LC_MESSAGES, LANG) is
// "C" or "POSIX" or unset, in which case nothing is translated; without a LANGUAGE,
// the locale itself. Entries that cannot be a language name (odd bytes, a path, more
// than 64 characters) are left out, and the list ends after 16 entries; a LANGUAGE
// with no usable entry counts as unset. Empty means English.
std::string preferred_languages(const char* language, const char* lc_all, const char* lc_messages,
                                const char* lang);

}  // namespace tiltophon
