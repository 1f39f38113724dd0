// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Devices.h"

namespace tiltophon {

// Plays WAV files through SDL's own audio on one output stream. `play_file` only
// leaves the path in a one-slot mailbox (a newer request replaces one not yet taken)
// and returns; a worker thread reads and decodes the file and converts it to the
// device's format, and the new sound replaces the one playing as soon as its first
// part is converted. Files that are missing, empty, truncated, absurdly large, of an
// absurd sample rate or not WAV play nothing and leave the current sound alone.
// Without an audio device the player is silent. SDL_AUDIODRIVER and SDL_DISKAUDIOFILE
// are left to the user.
class SdlSoundPlayer : public SoundPlayer {
public:
    // Frames per device buffer: 256 (about 6 ms at 44.1 kHz).
    static constexpr uint16_t kBufferFrames = 256;

    // Opens the default output device, in whatever format it prefers.
    SdlSoundPlayer();
    // Opens no device: sounds are converted to `device_format` and pulled by the caller
    // with `render`. For tests and measurements.
    explicit SdlSoundPlayer(const SDL_AudioSpec& device_format);
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void play_file(std::u16string_view path) override;

    // The next `bytes` of output: the current sound where there is one, else silence.
    // The device's callback; safe to call while requests come in.
    void render(uint8_t* out, int bytes);

    // Blocks until every request made so far plays or has been refused.
    void wait_until_idle();

    // Decodes the bytes of a WAV file and converts the whole sound to the output format,
    // as playing the file would; the number of output bytes, 0 when the file is refused.
    std::size_t convert_file_bytes(std::vector<uint8_t> bytes) const;

    // The format sounds are converted to; `freq` is 0 when the player has no output.
    const SDL_AudioSpec& device_spec() const { return spec_; }
    // Sounds whose first frame has gone out through `render`.
    uint64_t sounds_begun() const { return sounds_begun_.load(std::memory_order_acquire); }

private:
    struct Sound;

    static void audio_callback(void* player, Uint8* stream, int bytes);
    void start_worker();
    void worker_loop();
    std::unique_ptr<Sound> load(const std::string& path) const;
    std::unique_ptr<Sound> decode(std::vector<uint8_t> bytes) const;
    void publish(std::unique_ptr<Sound> sound);

    SDL_AudioSpec spec_{};
    SDL_AudioDeviceID device_ = 0;
    bool audio_initialised_ = false;

    // Mailbox and worker state, guarded by `mailbox_mutex_`.
    std::mutex mailbox_mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::string pending_path_;
    bool pending_ = false;
    bool busy_ = false;
    bool stop_ = false;

    // The sound the output reads, guarded by `output_mutex_`; only the worker replaces it.
    std::mutex output_mutex_;
    std::unique_ptr<Sound> current_;
    std::atomic<uint64_t> sounds_begun_{0};

    std::thread worker_;
};

}  // namespace tiltophon
