// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

namespace tiltophon {

// Whether the sound player would play a file, found without playing it.
class SoundFileCheck {
public:
    virtual ~SoundFileCheck() = default;
    // True when `path` is a regular file within the player's limits of size and length
    // (SoundLimits.h) whose first second decodes. Reads the whole file: call it off
    // the main thread.
    virtual bool would_play(std::u16string_view path) = 0;
};

}  // namespace tiltophon
