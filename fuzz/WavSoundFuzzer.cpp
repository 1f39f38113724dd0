// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any file in a sound set whose name ends in .wav is handed to the player, so the
// player's decoding and conversion must take any bytes: refuse them, or produce whole
// frames of the output format. scripts/fuzz.sh also caps what one input may allocate,
// so that a few bytes can never turn into a big sound.

#include <SDL.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Require.h"
#include "platform/sdl/SdlSoundPlayer.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

SDL_AudioSpec output(int freq, SDL_AudioFormat format, Uint8 channels) {
    SDL_AudioSpec spec{};
    spec.freq = freq;
    spec.format = format;
    spec.channels = channels;
    spec.samples = SdlSoundPlayer::kBufferFrames;
    return spec;
}

// Output formats that devices ask for: the usual one and some that make the player
// resample, change sample type and mix channels up or down.
struct Players {
    std::array<std::unique_ptr<SdlSoundPlayer>, 4> players{
        std::make_unique<SdlSoundPlayer>(output(44100, AUDIO_S16SYS, 2)),
        std::make_unique<SdlSoundPlayer>(output(48000, AUDIO_F32SYS, 2)),
        std::make_unique<SdlSoundPlayer>(output(22050, AUDIO_U8, 1)),
        std::make_unique<SdlSoundPlayer>(output(96000, AUDIO_S32SYS, 6)),
    };
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Players setup;
    FuzzedDataProvider input(data, size);
    SdlSoundPlayer& player = *setup.players[input.ConsumeIntegralInRange<size_t>(0, 3)];
    std::vector<uint8_t> bytes = input.ConsumeRemainingBytes<uint8_t>();

    const size_t produced = player.convert_file_bytes(bytes);
    const SDL_AudioSpec& spec = player.device_spec();
    const size_t frame = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    require(produced % frame == 0, "the output holds whole frames");
    return 0;
}
