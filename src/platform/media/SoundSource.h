// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tiltophon {

// How a decoder hands over samples: interleaved, in the machine's byte order.
enum class SampleType { kInt16, kInt32, kFloat32 };

constexpr std::size_t sample_bytes(SampleType type) {
    return type == SampleType::kInt16 ? 2 : 4;
}

// The decoded frames of one sound file, read from its start in parts. MP3 and the
// other MPEG audio layers are decoded by libmpg123, everything else by libsndfile.
class SoundSource {
public:
    virtual ~SoundSource() = default;

    int rate() const { return rate_; }
    int channels() const { return channels_; }
    SampleType sample_type() const { return type_; }
    // The sound's length in frames, as the file gives it or a scan found it; -1 when
    // it is only known once the sound has been decoded to its end.
    int64_t frames() const { return frames_; }
    // True when fewer frames than `frames` mean that the file is cut short or corrupt;
    // false when the count may include what is not sound.
    bool length_is_exact() const { return length_is_exact_; }
    std::size_t frame_bytes() const { return sample_bytes(type_) * std::size_t(channels_); }

    // Up to `count` further frames into `out` (room for `count` frames); fewer only at
    // the end of the sound. -1 when the file turns out to be corrupt.
    virtual int64_t read(uint8_t* out, int64_t count) = 0;

protected:
    int rate_ = 0;
    int channels_ = 0;
    SampleType type_ = SampleType::kInt16;
    int64_t frames_ = -1;
    bool length_is_exact_ = true;
};

// The whole of a regular file of at most kMaxSoundFileBytes; empty for anything else
// (missing, a folder, a pipe or device that must not block the reader).
std::vector<uint8_t> read_sound_file(const std::string& path);

// A source for the bytes of a sound file, which must outlive it; null when they are
// no sound, when a file that tells its own length is cut short (WAV, Ogg, an MP3 with
// an Info frame), or when its rate or channel count is absurd. Sounds longer than
// kMaxSoundSeconds are not refused here: the length is there to be looked at.
std::unique_ptr<SoundSource> open_sound_source(const std::vector<uint8_t>& bytes);

}  // namespace tiltophon
