// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlSoundRecorder.h"

#include <algorithm>
#include <cstdio>

namespace tiltophon {

namespace {

constexpr int kMaxTakeBytes =
    SoundRecorder::kRate * SoundRecorder::kMaxSeconds * static_cast<int>(sizeof(float));

}  // namespace

SdlSoundRecorder::~SdlSoundRecorder() {
    close();
}

bool SdlSoundRecorder::start_take() {
    close();
    failed_ = false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "tiltophon: cannot record, there is no sound system: %s\n", SDL_GetError());
        return false;
    }
    audio_initialised_ = true;
    SDL_AudioSpec wanted{};
    wanted.freq = request_.rate;
    wanted.format = request_.format;
    wanted.channels = static_cast<Uint8>(request_.channels);
    wanted.samples = 1024;
    wanted.callback = &SdlSoundRecorder::capture_callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 1, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device_ == 0) {
        std::fprintf(stderr, "tiltophon: cannot record, no microphone could be opened: %s\n",
                     SDL_GetError());
        close();
        return false;
    }
    {
        std::lock_guard lock(stream_mutex_);
        stream_ = SDL_NewAudioStream(obtained.format, obtained.channels, obtained.freq,
                                     AUDIO_F32SYS, 1, kRate);
    }
    if (!stream_) {
        std::fprintf(stderr, "tiltophon: cannot record from this microphone: %s\n", SDL_GetError());
        close();
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool SdlSoundRecorder::take_failed() {
    if (failed_) return true;
    if (device_ == 0 || SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED) return false;
    failed_ = true;
    return true;
}

std::vector<float> SdlSoundRecorder::end_take() {
    // Closing waits for the audio thread, so nothing is put into the stream after it.
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    std::vector<float> take;
    {
        std::lock_guard lock(stream_mutex_);
        if (stream_) {
            SDL_AudioStreamFlush(stream_);
            const int bytes = std::min(SDL_AudioStreamAvailable(stream_), kMaxTakeBytes);
            take.resize(static_cast<std::size_t>(bytes) / sizeof(float));
            const int got = SDL_AudioStreamGet(stream_, take.data(), bytes);
            take.resize(got > 0 ? static_cast<std::size_t>(got) / sizeof(float) : 0);
        }
    }
    close();
    return take;
}

std::size_t SdlSoundRecorder::samples_so_far() {
    std::lock_guard lock(stream_mutex_);
    return stream_ ? static_cast<std::size_t>(SDL_AudioStreamAvailable(stream_)) / sizeof(float) : 0;
}

void SdlSoundRecorder::capture_callback(void* self, Uint8* bytes, int length) {
    auto* recorder = static_cast<SdlSoundRecorder*>(self);
    std::lock_guard lock(recorder->stream_mutex_);
    // Past the longest take the microphone's sound is dropped, so a take left running
    // cannot fill the memory.
    if (!recorder->stream_ || SDL_AudioStreamAvailable(recorder->stream_) >= kMaxTakeBytes) return;
    SDL_AudioStreamPut(recorder->stream_, bytes, length);
}

void SdlSoundRecorder::close() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    {
        std::lock_guard lock(stream_mutex_);
        if (stream_) SDL_FreeAudioStream(stream_);
        stream_ = nullptr;
    }
    if (audio_initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audio_initialised_ = false;
}

}  // namespace tiltophon
