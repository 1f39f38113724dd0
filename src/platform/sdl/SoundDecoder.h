// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/SoundLimits.h"
#include "platform/media/SoundSource.h"

namespace tiltophon {

// A whole sound in a device's format, ready to be copied to the output. Never
// changed once made, so the output and the ready-sound cache share it.
struct DecodedSound {
    std::vector<uint8_t> bytes;
};

// A device format: rate, sample type and channels, with `samples` frames per buffer.
inline SDL_AudioSpec audio_format(int freq, SDL_AudioFormat format, Uint8 channels,
                                  Uint16 samples = 256) {
    SDL_AudioSpec spec{};
    spec.freq = freq;
    spec.format = format;
    spec.channels = channels;
    spec.samples = samples;
    return spec;
}

// Asked between the parts of a decoding: true to give it up (a newer request came).
using AbandonDecoding = std::function<bool()>;

// Decodes the bytes of a sound file (WAV and its variants, FLAC, Ogg Vorbis, Opus,
// MP3; see SoundSource) and converts the whole sound to `device`. Null when the file is
// refused: not a sound, corrupt or cut short anywhere, of no frames, of an absurd rate
// or channel count, longer than kMaxSoundSeconds; also when `abandon` says so.
std::shared_ptr<const DecodedSound> decode_sound(const std::vector<uint8_t>& file,
                                                 const SDL_AudioSpec& device,
                                                 const AbandonDecoding& abandon = {});

}  // namespace tiltophon
