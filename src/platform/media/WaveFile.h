// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tiltophon {

// Writing RIFF WAVE files: the generators of the shipped sounds and the tests use it.
struct WaveFormat {
    uint16_t tag = 1;  // 1 PCM, 3 IEEE float, 6 A-law, 7 mu-law, 0x11 IMA ADPCM
    uint16_t channels = 1;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    uint16_t block_align = 0;  // 0: channels * bits / 8
    // Write the format as WAVE_FORMAT_EXTENSIBLE with `tag` as its sub-format.
    bool extensible = false;
};

// A complete file: header, format chunk and the data chunk holding `data` as given.
std::vector<uint8_t> encode_wave(const WaveFormat& format, const std::vector<uint8_t>& data);

// 16-bit mono PCM from samples in -1.0 .. 1.0 (clipped).
std::vector<uint8_t> encode_wave_s16(const std::vector<float>& samples, uint32_t rate);

// Writes the bytes to a new file (replacing any); false with the reason on failure.
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace tiltophon
