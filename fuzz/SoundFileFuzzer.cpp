// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any file in a sound set with a sound file's extension is handed to the player, so
// its decoding (libsndfile: WAV and its variants, FLAC, Ogg Vorbis, Opus, MP3) and its
// conversion to the device's format must take any bytes: refuse them, or produce
// whole frames of the output format, never longer than the longest sound played.
// scripts/fuzz.sh also caps what one input may allocate, so that a few bytes can
// never turn into a big sound.

#include <SDL.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <vector>

#include "Require.h"
#include "platform/sdl/SoundDecoder.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

// Output formats that devices ask for: the usual one and some that make the decoder
// resample, change sample type and mix channels up or down.
const std::array<SDL_AudioSpec, 4> kDevices = {
    audio_format(44100, AUDIO_S16SYS, 2),
    audio_format(48000, AUDIO_F32SYS, 2),
    audio_format(22050, AUDIO_U8, 1),
    audio_format(96000, AUDIO_S32SYS, 6),
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const SDL_AudioSpec& device = kDevices[input.ConsumeIntegralInRange<size_t>(0, 3)];
    std::vector<uint8_t> bytes = input.ConsumeRemainingBytes<uint8_t>();

    auto sound = decode_sound(bytes, device);
    if (!sound) return 0;
    const size_t frame = SDL_AUDIO_BITSIZE(device.format) / 8 * device.channels;
    require(!sound->bytes.empty(), "a sound that plays has frames");
    require(sound->bytes.size() % frame == 0, "the output holds whole frames");
    // The longest sound, and the resampler's padding of 1024 frames of at least 1 kHz.
    const size_t longest = (size_t(kMaxSoundSeconds) + 2) * size_t(device.freq);
    require(sound->bytes.size() / frame <= longest, "no sound is longer than the longest allowed");
    return 0;
}
