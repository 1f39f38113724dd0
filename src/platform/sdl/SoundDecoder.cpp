// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SoundDecoder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace tiltophon {

namespace {

constexpr off_t kMaxFileBytes = 64 << 20;
// Whatever the device's format, one sound never takes more than this.
constexpr std::size_t kMaxOutputBytes = std::size_t{64} << 20;
constexpr std::size_t kFirstReserveBytes = std::size_t{4} << 20;
constexpr int kMaxChannels = 8;
constexpr int kMaxRate = 384000;
// Below any rate real recordings use. The resampler holds back and is padded with a
// fixed number of frames, so a file claiming a rate of a few hertz would turn its few
// bytes into minutes of output.
constexpr int kMinRate = 1000;
// The sound is fed to the converter in these parts: the same parts as when the
// player converted sounds while they played, so that its output stays the same to
// the sample. Between parts a decoding may be given up.
constexpr sf_count_t kFirstFrames = 2048;
constexpr sf_count_t kLaterFrames = 8192;
// SDL's resampler keeps back the last few hundred frames even when flushed;
// trailing silence pushes them out.
constexpr sf_count_t kResamplerPadFrames = 1024;

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
    const std::vector<uint8_t>& bytes;
    sf_count_t position = 0;

    static sf_count_t length(void* self) { return sf_count_t(as(self).bytes.size()); }
    static sf_count_t seek(sf_count_t offset, int whence, void* self) {
        MemoryFile& file = as(self);
        sf_count_t base = whence == SEEK_CUR   ? file.position
                          : whence == SEEK_END ? sf_count_t(file.bytes.size())
                                               : 0;
        sf_count_t target = base + offset;
        if (target < 0 || target > sf_count_t(file.bytes.size())) return -1;
        file.position = target;
        return target;
    }
    static sf_count_t read(void* out, sf_count_t count, void* self) {
        MemoryFile& file = as(self);
        sf_count_t left = sf_count_t(file.bytes.size()) - file.position;
        sf_count_t take = std::clamp<sf_count_t>(count, 0, left);
        if (take > 0) std::memcpy(out, file.bytes.data() + file.position, std::size_t(take));
        file.position += take;
        return take;
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* self) { return as(self).position; }
    static MemoryFile& as(void* self) { return *static_cast<MemoryFile*>(self); }
};

// The sample type the decoder hands over: the file's own where SDL has it, so that
// 16-bit files pass through untouched, else 32-bit integers or floats.
SDL_AudioFormat sample_format_for(int sndfile_format) {
    switch (sndfile_format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_24:
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_ALAC_20:
        case SF_FORMAT_ALAC_24:
        case SF_FORMAT_ALAC_32:
            return AUDIO_S32SYS;
        case SF_FORMAT_FLOAT:
        case SF_FORMAT_DOUBLE:
        case SF_FORMAT_VORBIS:
        case SF_FORMAT_OPUS:
        case SF_FORMAT_MPEG_LAYER_I:
        case SF_FORMAT_MPEG_LAYER_II:
        case SF_FORMAT_MPEG_LAYER_III:
            return AUDIO_F32SYS;
        default:
            return AUDIO_S16SYS;
    }
}

sf_count_t read_frames(SNDFILE* file, SDL_AudioFormat format, uint8_t* out, sf_count_t frames) {
    switch (format) {
        case AUDIO_S32SYS:
            return sf_readf_int(file, reinterpret_cast<int*>(out), frames);
        case AUDIO_F32SYS:
            return sf_readf_float(file, reinterpret_cast<float*>(out), frames);
        default:
            return sf_readf_short(file, reinterpret_cast<short*>(out), frames);
    }
}

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
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
        if (needed > kMaxOutputBytes) return false;
        // Grown by hand, so that doubling never asks for more than one sound may take.
        if (needed > out.capacity())
            out.reserve(std::min(std::max(needed, out.capacity() * 2), kMaxOutputBytes));
        out.resize(needed);
        int got = SDL_AudioStreamGet(stream, out.data() + done, available);
        out.resize(done + std::size_t(std::max(got, 0)));
        if (got <= 0) return true;
    }
}

}  // namespace

std::vector<uint8_t> read_sound_file(const std::string& path) {
    std::vector<uint8_t> bytes;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 12 &&
        info.st_size <= kMaxFileBytes) {
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

std::shared_ptr<const DecodedSound> decode_sound(const std::vector<uint8_t>& file,
                                                 const SDL_AudioSpec& device,
                                                 const AbandonDecoding& abandon) {
    if (device.freq <= 0 || device.channels == 0) return nullptr;
    if (is_riff_wave(file) && !is_complete_wave(file)) return nullptr;
    if (is_ogg(file) && !is_complete_ogg(file)) return nullptr;

    MemoryFile memory{file};
    SF_VIRTUAL_IO io{&MemoryFile::length, &MemoryFile::seek, &MemoryFile::read, &MemoryFile::write,
                     &MemoryFile::tell};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> sound(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!sound) return nullptr;
    if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate < kMinRate ||
        info.samplerate > kMaxRate || info.frames <= 0) {
        return nullptr;
    }
    // A length the header gives is checked before anything is decoded, so that a file
    // claiming hours is refused at once; one that gives none is counted as it decodes.
    const sf_count_t max_frames = sf_count_t(kMaxSoundSeconds) * info.samplerate;
    const bool length_known = info.frames != SF_COUNT_MAX;
    if (length_known && info.frames > max_frames) return nullptr;

    const SDL_AudioFormat in_format = sample_format_for(info.format);
    std::unique_ptr<SDL_AudioStream, StreamFreer> stream(
        SDL_NewAudioStream(in_format, Uint8(info.channels), info.samplerate, device.format,
                           device.channels, device.freq));
    if (!stream) return nullptr;
    const std::size_t in_frame_bytes =
        SDL_AUDIO_BITSIZE(in_format) / 8 * std::size_t(info.channels);
    const std::size_t out_frame_bytes = SDL_AUDIO_BITSIZE(device.format) / 8 * device.channels;
    const sf_count_t pad_frames = info.samplerate != device.freq ? kResamplerPadFrames : 0;

    auto decoded = std::make_shared<DecodedSound>();
    std::vector<uint8_t>& out = decoded->bytes;
    if (length_known) {
        uint64_t frames =
            uint64_t(info.frames + pad_frames) * uint64_t(device.freq) / uint64_t(info.samplerate) +
            1024;
        // Only as much as a small file may well need: its header could be lying.
        out.reserve(std::size_t(std::min<uint64_t>(frames * out_frame_bytes, kFirstReserveBytes)));
    }
    std::vector<uint8_t> part(std::size_t(kLaterFrames) * in_frame_bytes);
    sf_count_t total = 0;
    for (sf_count_t wanted = kFirstFrames;; wanted = kLaterFrames) {
        if (abandon && abandon()) return nullptr;
        sf_count_t got = read_frames(sound.get(), in_format, part.data(), wanted);
        if (got < 0 || sf_error(sound.get()) != SF_ERR_NO_ERROR) return nullptr;
        total += got;
        if (total > max_frames) return nullptr;
        if (got > 0 &&
            SDL_AudioStreamPut(stream.get(), part.data(), int(got * in_frame_bytes)) != 0) {
            return nullptr;
        }
        if (got < wanted) break;
        if (!drain(stream.get(), out)) return nullptr;
    }
    // Fewer frames than the header promised: the file was cut short or is corrupt.
    if (total == 0 || (length_known && total < info.frames)) return nullptr;

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
