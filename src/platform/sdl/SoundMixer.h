// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/sdl/SoundDecoder.h"

namespace tiltophon {

// The voices that sound at once, mixed into the device's buffers on the audio thread.
// Everything here runs in the device's callback: no lock, no allocation, no waiting.
//
// One voice goes out byte for byte, as the sound was converted. Several are added up
// in floating point, and a peak limiter keeps the sum within full scale: where the sum
// would pass it, the gain falls, looking ahead only within the buffer being mixed, to
// just what fits, and comes back to 1 over about 100 ms. A sum that fits is left
// exactly as it is, so sounds keep the level they have alone, and no output is held
// back to look further ahead.
class SoundMixer {
public:
    static constexpr std::size_t kVoices = 8;

    // The device's sample type, channels and rate. Only while no buffer is mixed: the
    // device is closed or paused, or the caller pulls the buffers itself.
    void set_format(const SDL_AudioSpec& format);

    // Starts `sound` from its beginning; with every voice busy, the one started first
    // ends. `done` (may be null) is set once the mixer no longer reads the sound.
    void start(const DecodedSound* sound, std::atomic<bool>* done);
    // Ends every voice at once.
    void stop_all();

    // The next `bytes` of output. Returns how many voices sent their first frame.
    std::size_t mix(uint8_t* out, std::size_t bytes);

    std::size_t voices() const { return count_; }

private:
    struct Voice {
        const DecodedSound* sound = nullptr;
        std::size_t position = 0;
        std::atomic<bool>* done = nullptr;
        bool begun = false;
    };

    void end_voice(std::size_t index);
    std::size_t copy_one(uint8_t* out, std::size_t bytes);
    std::size_t mix_many(uint8_t* out, std::size_t bytes);
    void limit(float* samples, std::size_t frames);
    void drop_finished();

    SDL_AudioFormat format_ = AUDIO_S16SYS;
    std::size_t channels_ = 2;
    std::size_t sample_bytes_ = 2;
    uint8_t silence_ = 0;
    // Per frame, the share of the way back to gain 1 that the limiter goes.
    float release_ = 0.0f;
    float gain_ = 1.0f;

    // The sum of the voices, a part of a buffer at a time.
    static constexpr std::size_t kChunkSamples = 4096;
    std::array<float, kChunkSamples> sum_{};
    // Per frame of the part at hand: the gain it needs, and the gain it gets.
    std::array<float, kChunkSamples> needs_{};
    std::array<float, kChunkSamples> gains_{};

    // Oldest first.
    std::array<Voice, kVoices> voices_{};
    std::size_t count_ = 0;
};

}  // namespace tiltophon
