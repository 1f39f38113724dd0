// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/WaveFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tiltophon {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void put_id(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(id[i]));
}

}  // namespace

std::vector<uint8_t> encode_wave(const WaveFormat& format, const std::vector<uint8_t>& data) {
    uint16_t align =
        format.block_align ? format.block_align : uint16_t(format.channels * format.bits / 8);
    std::vector<uint8_t> fmt;
    put16(fmt, format.extensible ? 0xFFFE : format.tag);
    put16(fmt, format.channels);
    put32(fmt, format.rate);
    put32(fmt, format.rate * align);
    put16(fmt, align);
    put16(fmt, format.bits);
    if (format.extensible) {
        put16(fmt, 22);
        put16(fmt, format.bits);  // valid bits per sample
        put32(fmt, 0);            // channel mask: unspecified
        // The sub-format GUID: the format tag followed by the fixed WAVE suffix.
        static const uint8_t suffix[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                           0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        put16(fmt, format.tag);
        fmt.insert(fmt.end(), suffix, suffix + 14);
    }

    std::vector<uint8_t> out;
    put_id(out, "RIFF");
    put32(out, uint32_t(4 + 8 + fmt.size() + 8 + data.size() + (data.size() & 1)));
    put_id(out, "WAVE");
    put_id(out, "fmt ");
    put32(out, uint32_t(fmt.size()));
    out.insert(out.end(), fmt.begin(), fmt.end());
    put_id(out, "data");
    put32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
    return out;
}

std::vector<uint8_t> encode_wave_s16(const std::vector<float>& samples, uint32_t rate) {
    std::vector<uint8_t> data;
    data.reserve(samples.size() * 2);
    for (float s : samples) {
        auto v = int32_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        put16(data, uint32_t(v) & 0xFFFF);
    }
    WaveFormat format;
    format.rate = rate;
    return encode_wave(format, data);
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!ok) error = path + ": " + std::strerror(errno);
    if (std::fclose(file) != 0 && ok) {
        error = path + ": " + std::strerror(errno);
        ok = false;
    }
    return ok;
}

}  // namespace tiltophon
