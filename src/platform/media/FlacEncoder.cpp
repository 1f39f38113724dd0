// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/FlacEncoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace tiltophon {

namespace {

// A growing file in memory for libsndfile, which seeks back to finish the header.
struct GrowingFile {
    std::string bytes;
    sf_count_t position = 0;

    static GrowingFile& as(void* self) { return *static_cast<GrowingFile*>(self); }
    static sf_count_t length(void* self) { return static_cast<sf_count_t>(as(self).bytes.size()); }
    static sf_count_t tell(void* self) { return as(self).position; }
    static sf_count_t seek(sf_count_t offset, int whence, void* self) {
        GrowingFile& file = as(self);
        const sf_count_t base = whence == SEEK_CUR ? file.position
                                : whence == SEEK_END ? length(self)
                                                     : 0;
        if (base + offset < 0) return -1;
        file.position = base + offset;
        return file.position;
    }
    static sf_count_t read(void* out, sf_count_t count, void* self) {
        GrowingFile& file = as(self);
        const sf_count_t left = std::max<sf_count_t>(0, length(self) - file.position);
        const sf_count_t n = std::min(count, left);
        std::memcpy(out, file.bytes.data() + file.position, static_cast<std::size_t>(n));
        file.position += n;
        return n;
    }
    static sf_count_t write(const void* in, sf_count_t count, void* self) {
        GrowingFile& file = as(self);
        const auto end = static_cast<std::size_t>(file.position + count);
        if (end > file.bytes.size()) file.bytes.resize(end);
        std::memcpy(file.bytes.data() + file.position, in, static_cast<std::size_t>(count));
        file.position += count;
        return count;
    }
};

}  // namespace

std::string FlacEncoder::flac(std::span<const float> samples, int rate) {
    if (samples.empty() || rate <= 0) return {};
    GrowingFile file;
    SF_VIRTUAL_IO io{&GrowingFile::length, &GrowingFile::seek, &GrowingFile::read,
                     &GrowingFile::write, &GrowingFile::tell};
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    if (!sound) return {};
    const auto count = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_float(sound, samples.data(), count) == count;
    if (sf_close(sound) != 0 || !written) return {};
    return std::move(file.bytes);
}

}  // namespace tiltophon
