// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <atomic>
#include <mutex>

#include "platform/SoundRecorder.h"

namespace tiltophon {

// The default microphone through SDL's audio capture. The device keeps its own rate,
// sample format and channels; an SDL_AudioStream turns what it gives into the take's
// mono samples at kRate as it arrives.
class SdlSoundRecorder : public SoundRecorder {
public:
    // What is asked of the device; it may give something else. A test asks for a
    // microphone of another shape (SDL's disk driver gives what it is asked for).
    struct Request {
        int rate = kRate;
        SDL_AudioFormat format = AUDIO_F32SYS;
        int channels = 1;
    };

    SdlSoundRecorder() : SdlSoundRecorder(Request{}) {}
    explicit SdlSoundRecorder(Request request) : request_(request) {}
    ~SdlSoundRecorder() override;
    SdlSoundRecorder(const SdlSoundRecorder&) = delete;
    SdlSoundRecorder& operator=(const SdlSoundRecorder&) = delete;

    bool start_take() override;
    bool take_failed() override;
    std::vector<float> end_take() override;
    // How much of the take has come in so far, in samples of the take.
    std::size_t samples_so_far();

private:
    static void capture_callback(void* self, Uint8* bytes, int length);
    void close();

    Request request_;
    SDL_AudioDeviceID device_ = 0;
    bool audio_initialised_ = false;
    // Filled by the audio thread, emptied by end_take once the device is closed.
    std::mutex stream_mutex_;
    SDL_AudioStream* stream_ = nullptr;
    std::atomic<bool> failed_{false};
};

}  // namespace tiltophon
