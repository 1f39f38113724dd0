// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/SoundFileCheck.h"

namespace tiltophon {

// Decodes the first second of the file with the player's own decoders, and looks at
// the length the file gives (for an MP3, the length a scan of its frames finds).
// Safe from any thread.
class DecodingSoundFileCheck : public SoundFileCheck {
public:
    bool would_play(std::u16string_view path) override;
};

}  // namespace tiltophon
