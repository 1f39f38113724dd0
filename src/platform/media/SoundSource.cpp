// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/SoundSource.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/SoundLimits.h"
#include "platform/media/MemoryBytes.h"
#include "platform/media/MpegSoundSource.h"

namespace tiltophon {

namespace {

constexpr int kMaxChannels = 8;
constexpr int kMaxRate = 384000;
// Below any rate real recordings use. The resampler holds back and is padded with a
// fixed number of frames, so a file claiming a rate of a few hertz would turn its few
// bytes into minutes of output.
constexpr int kMinRate = 1000;

uint32_t read_le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool is_riff_wave(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
}

// A RIFF WAVE whose chunks all lie inside the file and whose data chunk comes after
// its format. libsndfile plays what is left of a cut file, and a data size beyond the
// end of the file would be taken at its word by other readers.
bool is_complete_wave(const std::vector<uint8_t>& bytes) {
    const uint8_t* b = bytes.data();
    std::size_t size = bytes.size();
    bool have_format = false;
    for (std::size_t pos = 12; size - pos >= 8;) {
        const uint8_t* id = b + pos;
        std::size_t length = read_le32(b + pos + 4);
        pos += 8;
        if (length > size - pos) return false;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (length < 16) return false;
            have_format = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            return have_format && length > 0;
        }
        pos += length + (length & 1);
        if (pos > size) return false;
    }
    return false;
}

bool is_ogg(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "OggS", 4) == 0;
}

// An Ogg stream whose last page ends the file and is marked as the stream's end. Cut
// short at a page boundary, an Ogg file decodes cleanly up to the cut, and libsndfile
// takes its length from the last page that is left.
bool is_complete_ogg(const std::vector<uint8_t>& bytes) {
    constexpr std::size_t kHeader = 27;
    constexpr std::size_t kLongestPage = kHeader + 255 + 255 * 255;
    const std::size_t size = bytes.size();
    const std::size_t earliest = size > kLongestPage ? size - kLongestPage : 0;
    for (std::size_t pos = size >= kHeader ? size - kHeader + 1 : 0; pos-- > earliest;) {
        const uint8_t* page = bytes.data() + pos;
        if (std::memcmp(page, "OggS", 4) != 0) continue;
        std::size_t segments = page[26];
        if (size - pos < kHeader + segments) continue;
        std::size_t end = pos + kHeader + segments;
        for (std::size_t i = 0; i < segments; ++i) end += page[kHeader + i];
        if (end == size) return (page[5] & 0x04) != 0;
    }
    return false;
}

// libsndfile reading from the bytes in memory.
struct MemoryFile {
    static sf_count_t length(void* self) { return as(self).size(); }
    static sf_count_t seek(sf_count_t offset, int whence, void* self) {
        return as(self).seek(offset, whence);
    }
    static sf_count_t read(void* out, sf_count_t count, void* self) {
        return as(self).read(out, count);
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* self) { return as(self).position; }
    static MemoryBytes& as(void* self) { return *static_cast<MemoryBytes*>(self); }
};

// The sample type handed over: the file's own where the converter has it, so that
// 16-bit files pass through untouched, else 32-bit integers or floats.
SampleType sample_type_for(int sndfile_format) {
    switch (sndfile_format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_24:
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_ALAC_20:
        case SF_FORMAT_ALAC_24:
        case SF_FORMAT_ALAC_32:
            return SampleType::kInt32;
        case SF_FORMAT_FLOAT:
        case SF_FORMAT_DOUBLE:
        case SF_FORMAT_VORBIS:
        case SF_FORMAT_OPUS:
            return SampleType::kFloat32;
        default:
            return SampleType::kInt16;
    }
}

// Every format but MPEG audio, through libsndfile.
class SndFileSource : public SoundSource {
public:
    explicit SndFileSource(const std::vector<uint8_t>& bytes) : memory_{bytes} {
        SF_VIRTUAL_IO io{&MemoryFile::length, &MemoryFile::seek, &MemoryFile::read,
                         &MemoryFile::write, &MemoryFile::tell};
        SF_INFO info{};
        file_ = sf_open_virtual(&io, SFM_READ, &info, &memory_);
        if (!file_) return;
        format_ = info.format;
        rate_ = info.samplerate;
        channels_ = info.channels;
        type_ = sample_type_for(info.format);
        // A stream that does not know its length says so with the largest count.
        frames_ = info.frames == SF_COUNT_MAX ? -1 : std::max<sf_count_t>(info.frames, 0);
    }
    ~SndFileSource() override {
        if (file_) sf_close(file_);
    }
    SndFileSource(const SndFileSource&) = delete;
    SndFileSource& operator=(const SndFileSource&) = delete;

    bool is_open() const { return file_ != nullptr; }
    bool is_mpeg() const { return (format_ & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG; }

    int64_t read(uint8_t* out, int64_t count) override {
        sf_count_t got = 0;
        switch (type_) {
            case SampleType::kInt32:
                got = sf_readf_int(file_, reinterpret_cast<int*>(out), count);
                break;
            case SampleType::kFloat32:
                got = sf_readf_float(file_, reinterpret_cast<float*>(out), count);
                break;
            case SampleType::kInt16:
                got = sf_readf_short(file_, reinterpret_cast<short*>(out), count);
                break;
        }
        if (got < 0 || sf_error(file_) != SF_ERR_NO_ERROR) return -1;
        return got;
    }

private:
    MemoryBytes memory_;
    SNDFILE* file_ = nullptr;
    int format_ = 0;
};

bool plausible(const SoundSource& source) {
    return source.channels() >= 1 && source.channels() <= kMaxChannels &&
           source.rate() >= kMinRate && source.rate() <= kMaxRate && source.frames() != 0;
}

}  // namespace

std::vector<uint8_t> read_sound_file(const std::string& path) {
    std::vector<uint8_t> bytes;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 12 &&
        uint64_t(info.st_size) <= kMaxSoundFileBytes) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
    }
    ::close(fd);
    return bytes;
}

std::unique_ptr<SoundSource> open_sound_source(const std::vector<uint8_t>& bytes) {
    if (is_riff_wave(bytes) && !is_complete_wave(bytes)) return nullptr;
    if (is_ogg(bytes) && !is_complete_ogg(bytes)) return nullptr;

    std::unique_ptr<SoundSource> source;
    if (looks_like_mpeg_audio(bytes)) {
        source = open_mpeg_source(bytes);
    } else {
        auto sndfile = std::make_unique<SndFileSource>(bytes);
        // libsndfile knows MPEG audio by more signs than a frame at the start, but it
        // trusts an estimate of its length: libmpg123 finds the real one.
        if (sndfile->is_open() && sndfile->is_mpeg()) {
            source = open_mpeg_source(bytes);
        } else if (sndfile->is_open()) {
            source = std::move(sndfile);
        }
    }
    if (!source || !plausible(*source)) return nullptr;
    return source;
}

}  // namespace tiltophon
