// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SoundDecoder.h"

#include <algorithm>

namespace tiltophon {

namespace {

constexpr std::size_t kFirstReserveBytes = std::size_t{4} << 20;
// The sound is fed to the converter in these parts: the same parts as when the
// player converted sounds while they played, so that its output stays the same to
// the sample. Between parts a decoding may be given up.
constexpr int64_t kFirstFrames = 2048;
constexpr int64_t kLaterFrames = 8192;
// SDL's resampler keeps back the last few hundred frames even when flushed;
// trailing silence pushes them out.
constexpr int64_t kResamplerPadFrames = 1024;

SDL_AudioFormat sdl_format(SampleType type) {
    switch (type) {
        case SampleType::kInt32:
            return AUDIO_S32SYS;
        case SampleType::kFloat32:
            return AUDIO_F32SYS;
        case SampleType::kInt16:
            break;
    }
    return AUDIO_S16SYS;
}

struct StreamFreer {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

// Moves everything the converter has ready to the end of `out`; false when the
// sound grows beyond what one sound may take.
bool drain(SDL_AudioStream* stream, std::vector<uint8_t>& out) {
    for (;;) {
        int available = SDL_AudioStreamAvailable(stream);
        if (available <= 0) return true;
        std::size_t done = out.size();
        std::size_t needed = done + std::size_t(available);
        if (needed > kMaxSoundBytes) return false;
        // Grown by hand, so that doubling never asks for more than one sound may take.
        if (needed > out.capacity())
            out.reserve(std::min(std::max(needed, out.capacity() * 2), kMaxSoundBytes));
        out.resize(needed);
        int got = SDL_AudioStreamGet(stream, out.data() + done, available);
        out.resize(done + std::size_t(std::max(got, 0)));
        if (got <= 0) return true;
    }
}

}  // namespace

std::shared_ptr<const DecodedSound> decode_sound(const std::vector<uint8_t>& file,
                                                 const SDL_AudioSpec& device,
                                                 const AbandonDecoding& abandon) {
    if (device.freq <= 0 || device.channels == 0) return nullptr;
    std::unique_ptr<SoundSource> source = open_sound_source(file);
    if (!source) return nullptr;
    const int rate = source->rate();
    // A length the file gives is checked before anything is decoded, so that a file
    // claiming hours is refused at once; one that gives none is counted as it decodes.
    const int64_t max_frames = int64_t(kMaxSoundSeconds) * rate;
    const int64_t length = source->frames();
    if (length > max_frames) return nullptr;

    std::unique_ptr<SDL_AudioStream, StreamFreer> stream(
        SDL_NewAudioStream(sdl_format(source->sample_type()), Uint8(source->channels()), rate,
                           device.format, device.channels, device.freq));
    if (!stream) return nullptr;
    const std::size_t in_frame_bytes = source->frame_bytes();
    const std::size_t out_frame_bytes = SDL_AUDIO_BITSIZE(device.format) / 8 * device.channels;
    const int64_t pad_frames = rate != device.freq ? kResamplerPadFrames : 0;

    auto decoded = std::make_shared<DecodedSound>();
    std::vector<uint8_t>& out = decoded->bytes;
    if (length > 0) {
        uint64_t frames =
            uint64_t(length + pad_frames) * uint64_t(device.freq) / uint64_t(rate) + 1024;
        // Only as much as a small file may well need: its header could be lying.
        out.reserve(std::size_t(std::min<uint64_t>(frames * out_frame_bytes, kFirstReserveBytes)));
    }
    std::vector<uint8_t> part(std::size_t(kLaterFrames) * in_frame_bytes);
    int64_t total = 0;
    for (int64_t wanted = kFirstFrames;; wanted = kLaterFrames) {
        if (abandon && abandon()) return nullptr;
        int64_t got = source->read(part.data(), wanted);
        if (got < 0) return nullptr;
        total += got;
        if (total > max_frames) return nullptr;
        if (got > 0 &&
            SDL_AudioStreamPut(stream.get(), part.data(), int(got * in_frame_bytes)) != 0) {
            return nullptr;
        }
        if (got < wanted) break;
        if (!drain(stream.get(), out)) return nullptr;
    }
    // Fewer frames than the file promised: it was cut short or is corrupt.
    if (total == 0 || (source->length_is_exact() && total < length)) return nullptr;

    if (pad_frames > 0) {
        std::vector<uint8_t> silence(std::size_t(pad_frames) * in_frame_bytes, 0);
        if (SDL_AudioStreamPut(stream.get(), silence.data(), int(silence.size())) != 0) {
            return nullptr;
        }
    }
    SDL_AudioStreamFlush(stream.get());
    if (!drain(stream.get(), out)) return nullptr;
    out.resize(out.size() / out_frame_bytes * out_frame_bytes);
    if (out.empty()) return nullptr;
    return decoded;
}

}  // namespace tiltophon
