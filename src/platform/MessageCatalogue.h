// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tiltophon {

// The C library's gettext trusts a catalogue's tables and reads wherever they point,
// so a damaged catalogue crashes the program that loads it. A catalogue is handed to
// gettext only once this has found it sound: the form msgfmt writes (revision 0, in
// either byte order), every table and every string inside the file, each string
// ended by its zero byte, and every hash entry naming a string that exists.
constexpr std::size_t kLargestCatalogue = 16 * 1024 * 1024;
bool is_sound_catalogue(std::string_view bytes);

// The folder names under a locale folder in which gettext looks for the catalogue of
// one language name ("de_DE.UTF-8@euro" reaches "de", "de_DE", "de.utf8",
// "de_DE.UTF-8" and the rest): the name with any of its territory, codeset (as
// written or normalised) and modifier left out.
std::vector<std::string> catalogue_folders(std::string_view language);

}  // namespace tiltophon
