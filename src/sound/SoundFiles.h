// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string_view>

namespace tiltophon {

// The library's sound files by name: .wav, .flac, .ogg, .oga, .opus and .mp3, in any
// letter case, with something before the extension.
bool IsSoundFileName(std::u16string_view name);

// How many bytes from a file's start `LooksLikeSound` wants to see.
constexpr std::size_t kSoundSniffBytes = 12;

// A cheap look at a file's first bytes: true when they begin a WAV (RIFF, RF64 or
// BW64 with WAVE), FLAC, Ogg or MP3 (an ID3 tag or an MPEG audio frame) stream. A file
// that passes may still be damaged; one that fails is surely not a sound we play.
bool LooksLikeSound(std::string_view head);

}  // namespace tiltophon
