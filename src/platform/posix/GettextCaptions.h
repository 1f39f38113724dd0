// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "platform/Captions.h"

namespace tiltophon {

// Captions through gettext, domain "tiltophon", from the catalogues
// LL/LC_MESSAGES/tiltophon.mo under a locale folder. Made once on the main thread
// before any other thread starts: it sets the process's message locale and the
// LANGUAGE that gettext reads. The user's locale need not be installed for its
// language to be shown: the message locale falls back to C.UTF-8 then, which still
// lets gettext follow LANGUAGE. A missing or empty catalogue gives English, and so
// does a damaged one, which gettext is never given: it would crash on it.
class GettextCaptions : public Captions {
public:
    static constexpr const char* kDomain = "tiltophon";

    // `languages` as `preferred_languages` gives them; empty means English.
    GettextCaptions(const std::string& locale_folder, const std::string& languages);

    std::u16string translate(std::u16string_view english) const override;
    std::u16string language() const override { return language_; }

    // The locale folder of a program folder ("P/lib/tiltophon/" gives
    // "P/share/locale"), the same in the build tree and an installed tree.
    static std::string locale_folder_of(const std::string& program_folder);
    // The languages of this process's environment.
    static std::string languages_from_environment();

private:
    bool active_ = false;
    std::u16string language_;
};

}  // namespace tiltophon
