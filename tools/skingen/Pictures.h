// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Font.h"

namespace tiltophon::skingen {

// One generated picture and where it goes, relative to the program folder.
struct Picture {
    std::string path;
    Bitmap bitmap;
    bool keep_alpha = false;
    // The icon for desktop launchers, which goes where the build says rather than
    // into the program folder.
    bool launcher = false;
};

struct Fonts {
    const Font* label = nullptr;     // tab captions
    const Font* title = nullptr;     // the top bar's name
    const Font* wordmark = nullptr;  // the splash screen's name
    const Font* small = nullptr;     // small print
};

// The 46 skin images at the sizes a 480 x 640, 192-dpi screen shows them.
std::vector<Picture> skin_pictures(const Fonts& fonts);
// Whether a skin picture carries words of a caption (the tabs' names), and so has a
// picture of its own in each language.
bool has_words(const Picture& picture);
// Icon, launcher icon, splash, About picture, donation buttons and the Record
// button's three looks with their mask.
std::vector<Picture> resource_pictures(const Fonts& fonts);
// Big (96 x 96) and small (48 x 48) pictures of the default sound sets.
std::vector<Picture> set_pictures();

}  // namespace tiltophon::skingen
