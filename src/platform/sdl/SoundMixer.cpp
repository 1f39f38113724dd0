// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SoundMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tiltophon {

namespace {

// How long the limiter takes to give back most of a cut (to within 1/e of it).
constexpr float kReleaseSeconds = 0.1f;
// How many frames before and after a crest its gain holds (1 ms at 48 kHz), and how
// fast the gain may fall towards it, per frame.
constexpr std::size_t kHoldFrames = 48;
constexpr float kRampStep = 1.0f / 256.0f;

template <typename T>
T load(const uint8_t* at, bool swap) {
    T value;
    std::memcpy(&value, at, sizeof value);
    if (swap) {
        auto* bytes = reinterpret_cast<uint8_t*>(&value);
        std::reverse(bytes, bytes + sizeof value);
    }
    return value;
}

template <typename T>
void store(uint8_t* at, T value, bool swap) {
    if (swap) {
        auto* bytes = reinterpret_cast<uint8_t*>(&value);
        std::reverse(bytes, bytes + sizeof value);
    }
    std::memcpy(at, &value, sizeof value);
}

bool swapped(SDL_AudioFormat format) {
    return SDL_AUDIO_BITSIZE(format) > 8 &&
           (SDL_AUDIO_ISBIGENDIAN(format) != 0) != (SDL_BYTEORDER == SDL_BIG_ENDIAN);
}

// Adds `count` samples of the device's format to `sum`, each in -1 to 1.
void add_samples(SDL_AudioFormat format, const uint8_t* in, std::size_t count, float* sum) {
    const bool swap = swapped(format);
    const std::size_t size = SDL_AUDIO_BITSIZE(format) / 8;
    for (std::size_t i = 0; i < count; ++i, in += size) {
        float value = 0.0f;
        if (SDL_AUDIO_ISFLOAT(format)) {
            value = load<float>(in, swap);
        } else if (size == 4) {
            value = float(load<int32_t>(in, swap)) * (1.0f / 2147483648.0f);
        } else if (size == 2) {
            uint16_t raw = load<uint16_t>(in, swap);
            int32_t v = SDL_AUDIO_ISSIGNED(format) ? int32_t(int16_t(raw)) : int32_t(raw) - 32768;
            value = float(v) * (1.0f / 32768.0f);
        } else {
            int32_t v = SDL_AUDIO_ISSIGNED(format) ? int32_t(int8_t(*in)) : int32_t(*in) - 128;
            value = float(v) * (1.0f / 128.0f);
        }
        sum[i] += value;
    }
}

template <typename T>
T scaled(float value, float full_scale) {
    float v = std::nearbyint(value * full_scale);
    return T(std::clamp(v, -full_scale, full_scale - 1.0f));
}

void write_samples(SDL_AudioFormat format, const float* in, std::size_t count, uint8_t* out) {
    const bool swap = swapped(format);
    const std::size_t size = SDL_AUDIO_BITSIZE(format) / 8;
    for (std::size_t i = 0; i < count; ++i, out += size) {
        const float value = std::clamp(in[i], -1.0f, 1.0f);
        if (SDL_AUDIO_ISFLOAT(format)) {
            store(out, value, swap);
        } else if (size == 4) {
            // In double: a float has too few digits to hold the top of the range.
            double v = std::nearbyint(double(value) * 2147483648.0);
            store(out, int32_t(std::clamp(v, -2147483648.0, 2147483647.0)), swap);
        } else if (size == 2) {
            int32_t v = scaled<int32_t>(value, 32768.0f);
            store(out, SDL_AUDIO_ISSIGNED(format) ? uint16_t(int16_t(v)) : uint16_t(v + 32768),
                  swap);
        } else {
            int32_t v = scaled<int32_t>(value, 128.0f);
            *out = SDL_AUDIO_ISSIGNED(format) ? uint8_t(int8_t(v)) : uint8_t(v + 128);
        }
    }
}

}  // namespace

void SoundMixer::set_format(const SDL_AudioSpec& format) {
    format_ = format.format;
    channels_ = std::max<std::size_t>(format.channels, 1);
    sample_bytes_ = std::max<std::size_t>(SDL_AUDIO_BITSIZE(format.format) / 8, 1);
    silence_ = format.format == AUDIO_U8 ? 0x80 : 0;
    const float rate = format.freq > 0 ? float(format.freq) : 44100.0f;
    release_ = 1.0f - std::exp(-1.0f / (kReleaseSeconds * rate));
    gain_ = 1.0f;
    stop_all();
}

void SoundMixer::start(const DecodedSound* sound, std::atomic<bool>* done) {
    if (!sound) {
        if (done) done->store(true, std::memory_order_release);
        return;
    }
    if (count_ == kVoices) end_voice(0);
    voices_[count_++] = {sound, 0, done, false};
}

void SoundMixer::stop_all() {
    while (count_ > 0) end_voice(count_ - 1);
}

void SoundMixer::end_voice(std::size_t index) {
    if (voices_[index].done) voices_[index].done->store(true, std::memory_order_release);
    std::move(voices_.begin() + index + 1, voices_.begin() + count_, voices_.begin() + index);
    voices_[--count_] = {};
}

std::size_t SoundMixer::mix(uint8_t* out, std::size_t bytes) {
    std::size_t begun = 0;
    for (std::size_t i = 0; i < count_; ++i) {
        if (!voices_[i].begun && voices_[i].position < voices_[i].sound->bytes.size()) {
            voices_[i].begun = true;
            ++begun;
        }
    }
    // A lone voice at full gain is the sound itself.
    const std::size_t written =
        count_ == 1 && gain_ == 1.0f ? copy_one(out, bytes) : mix_many(out, bytes);
    std::memset(out + written, silence_, bytes - written);
    drop_finished();
    return begun;
}

std::size_t SoundMixer::copy_one(uint8_t* out, std::size_t bytes) {
    Voice& voice = voices_[0];
    const std::vector<uint8_t>& sound = voice.sound->bytes;
    const std::size_t copied = std::min(bytes, sound.size() - voice.position);
    std::memcpy(out, sound.data() + voice.position, copied);
    voice.position += copied;
    return copied;
}

std::size_t SoundMixer::mix_many(uint8_t* out, std::size_t bytes) {
    const std::size_t frame_bytes = channels_ * sample_bytes_;
    const std::size_t chunk_frames = kChunkSamples / channels_;
    const std::size_t frames = count_ > 0 ? bytes / frame_bytes : 0;
    float* sum = sum_.data();
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(chunk_frames, frames - done);
        std::fill_n(sum, n * channels_, 0.0f);
        for (std::size_t v = 0; v < count_; ++v) {
            Voice& voice = voices_[v];
            const std::size_t left = (voice.sound->bytes.size() - voice.position) / frame_bytes;
            const std::size_t take = std::min(n, left);
            add_samples(format_, voice.sound->bytes.data() + voice.position, take * channels_, sum);
            voice.position += take * frame_bytes;
        }
        limit(sum, n);
        write_samples(format_, sum, n * channels_, out + done * frame_bytes);
        done += n;
    }
    return frames * frame_bytes;
}

// One gain per frame, so that every channel keeps its share of the sound. The gain a
// frame needs to stay within full scale is held over the frames around it and reached
// by a ramp, both within the part of the buffer at hand, so that a crest is lowered as
// a whole instead of being flattened; afterwards it comes back slowly.
void SoundMixer::limit(float* samples, std::size_t frames) {
    // What each frame needs to stay within full scale.
    float* needs = needs_.data();
    for (std::size_t f = 0; f < frames; ++f) {
        const float* frame = samples + f * channels_;
        float peak = 0.0f;
        for (std::size_t c = 0; c < channels_; ++c) peak = std::max(peak, std::fabs(frame[c]));
        needs[f] = peak > 1.0f ? 1.0f / peak : 1.0f;
    }
    // Backwards: the least need of the frames within kHoldFrames either side, and at
    // most kRampStep more than the frame after.
    float* gains = gains_.data();
    float after = 1.0f;
    for (std::size_t f = frames; f-- > 0;) {
        const std::size_t begin = f > kHoldFrames ? f - kHoldFrames : 0;
        const std::size_t end = std::min(frames, f + kHoldFrames);
        const float held = *std::min_element(needs + begin, needs + end);
        after = std::min(held, after + kRampStep);
        gains[f] = after;
    }
    for (std::size_t f = 0; f < frames; ++f) {
        gain_ += (1.0f - gain_) * release_;
        if (gain_ > 0.99999f) gain_ = 1.0f;
        gain_ = std::min(gain_, gains[f]);
        if (gain_ == 1.0f) continue;
        float* frame = samples + f * channels_;
        for (std::size_t c = 0; c < channels_; ++c) frame[c] *= gain_;
    }
}

void SoundMixer::drop_finished() {
    for (std::size_t i = count_; i-- > 0;) {
        const Voice& voice = voices_[i];
        if (voice.sound->bytes.size() - voice.position < channels_ * sample_bytes_) end_voice(i);
    }
}

}  // namespace tiltophon
