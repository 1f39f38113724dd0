// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

#include "platform/Captions.h"

namespace tiltophon {

// The texts of the About screen.
constexpr std::u16string_view kAboutTitle = u"Tiltophon";
constexpr std::u16string_view kAboutPlatform = english_caption(u"for Pocket PC");
constexpr std::u16string_view kAboutVersion = english_caption(u"Version 1.0.0.1");
constexpr std::u16string_view kAboutWeb = u"tiltophon.org";
constexpr std::u16string_view kAboutMail = u"hello@tiltophon.org";
constexpr std::u16string_view kAboutNotice = english_caption(u"\u00A9 2026 The Tiltophon developers");

// build_screens itself is declared with the other entry points in Screens.h.

}  // namespace tiltophon
