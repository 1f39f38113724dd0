// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tiltophon {

// Sound files for the tests, written with libsndfile's own encoders at test time.
struct SoundFileKind {
    const char* name;  // also the file's extension
    int format;        // libsndfile's major and sub format
    int rate = 44100;
    int channels = 1;
};

inline const std::vector<SoundFileKind>& every_format() {
    static const std::vector<SoundFileKind> kinds = {
        {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, 48000, 2},
        {"wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 22050},
        {"wav", SF_FORMAT_RF64 | SF_FORMAT_FLOAT, 44100, 2},
        {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 2},
        {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 2},
        {"oga", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050},
        {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000},
        {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 2},
    };
    return kinds;
}

// A 440 Hz tone at half of full scale, in every channel; false when it cannot be written.
inline bool write_tone(const std::string& path, const SoundFileKind& kind, double seconds) {
    SF_INFO info{};
    info.samplerate = kind.rate;
    info.channels = kind.channels;
    info.format = kind.format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    auto frames = sf_count_t(seconds * kind.rate);
    std::vector<float> samples(std::size_t(frames) * std::size_t(kind.channels));
    for (sf_count_t i = 0; i < frames; ++i) {
        float v = float(0.5 * std::sin(2.0 * M_PI * 440.0 * double(i) / kind.rate));
        for (int c = 0; c < kind.channels; ++c) samples[std::size_t(i * kind.channels + c)] = v;
    }
    bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

inline std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tiltophon
