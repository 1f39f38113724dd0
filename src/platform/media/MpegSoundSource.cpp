// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/MpegSoundSource.h"

#include <mpg123.h>

#include <cstring>

#include "platform/media/MemoryBytes.h"

namespace tiltophon {

namespace {

// libmpg123 reading from the bytes in memory.
struct MemoryReader {
    static mpg123_ssize_t read(void* self, void* out, size_t count) {
        return mpg123_ssize_t(as(self).read(out, int64_t(count)));
    }
    static off_t seek(void* self, off_t offset, int whence) {
        return off_t(as(self).seek(offset, whence));
    }
    static MemoryBytes& as(void* self) { return *static_cast<MemoryBytes*>(self); }
};

bool library_ready() {
    // Needed once per process by libraries before 1.27; thread-safe as a static.
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

class MpegSource : public SoundSource {
public:
    explicit MpegSource(const std::vector<uint8_t>& bytes) : reader_{bytes} {}
    ~MpegSource() override {
        if (handle_) mpg123_delete(handle_);
    }
    MpegSource(const MpegSource&) = delete;
    MpegSource& operator=(const MpegSource&) = delete;

    bool open() {
        if (!library_ready()) return false;
        handle_ = mpg123_new(nullptr, nullptr);
        if (!handle_) return false;
        // An ID3v2 tag is skipped, not parsed: one of many megabytes costs nothing.
        // Junk between frames, however long, is skipped to the next frame.
        if (mpg123_param(handle_, MPG123_FLAGS,
                         MPG123_QUIET | MPG123_GAPLESS | MPG123_SKIP_ID3V2, 0) != MPG123_OK ||
            mpg123_param(handle_, MPG123_RESYNC_LIMIT, -1, 0) != MPG123_OK ||
            !accept_floats_only() ||
            mpg123_replace_reader_handle(handle_, &MemoryReader::read, &MemoryReader::seek,
                                         nullptr) != MPG123_OK ||
            mpg123_open_handle(handle_, &reader_) != MPG123_OK) {
            return false;
        }
        long rate = 0;
        int encoding = 0;
        if (mpg123_getformat(handle_, &rate, &channels_, &encoding) != MPG123_OK ||
            encoding != MPG123_ENC_FLOAT_32) {
            return false;
        }
        rate_ = int(rate);
        type_ = SampleType::kFloat32;
        // The scan counts what junk passes for frames, which decoding may leave out.
        length_is_exact_ = false;
        return find_length();
    }

    int64_t read(uint8_t* out, int64_t count) override {
        const std::size_t wanted = std::size_t(count) * frame_bytes();
        std::size_t done = 0;
        while (done < wanted) {
            size_t got = 0;
            int result = mpg123_read(handle_, out + done, wanted - done, &got);
            if (!skipping_) done += got;
            if (result == MPG123_DONE) break;
            // Junk between frames can pass for a frame of another rate or channel
            // count; what it decodes to is left out.
            if (result == MPG123_NEW_FORMAT) skipping_ = !same_format();
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT) return -1;
        }
        return int64_t(done / frame_bytes());
    }

private:
    bool accept_floats_only() {
        if (mpg123_format_none(handle_) != MPG123_OK) return false;
        const long* rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i) {
            if (mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO,
                              MPG123_ENC_FLOAT_32) != MPG123_OK) {
                return false;
            }
        }
        return true;
    }

    // The frame count an Info frame gives is exact, so a scan that finds fewer frames
    // means the end of the file is missing. Without one, the count before the scan is
    // a guess from the first frame's bit rate, wrong for any VBR file.
    bool find_length() {
        long delay = -1;
        double unused = 0;
        mpg123_getstate(handle_, MPG123_ENC_DELAY, &delay, &unused);
        const bool info_frame = delay >= 0;
        const off_t promised = mpg123_framelength(handle_);
        if (mpg123_scan(handle_) != MPG123_OK) return false;
        if (info_frame && mpg123_framelength(handle_) < promised) return false;
        const off_t length = mpg123_length(handle_);
        frames_ = length > 0 ? int64_t(length) : 0;
        return frames_ > 0;
    }

    bool same_format() {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        return mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK &&
               rate == rate_ && channels == channels_ && encoding == MPG123_ENC_FLOAT_32;
    }

    MemoryBytes reader_;
    mpg123_handle* handle_ = nullptr;
    bool skipping_ = false;
};

// The size of the ID3v2 tag at `pos`, header and footer included; 0 when none is there.
std::size_t id3v2_tag_size(const std::vector<uint8_t>& bytes, std::size_t pos) {
    constexpr std::size_t kHeader = 10;
    if (bytes.size() - pos < kHeader || std::memcmp(bytes.data() + pos, "ID3", 3) != 0) return 0;
    const uint8_t* size = bytes.data() + pos + 6;
    if ((size[0] | size[1] | size[2] | size[3]) & 0x80) return 0;
    std::size_t body = std::size_t(size[0]) << 21 | std::size_t(size[1]) << 14 |
                       std::size_t(size[2]) << 7 | std::size_t(size[3]);
    const bool footer = (bytes[pos + 5] & 0x10) != 0;
    return kHeader + body + (footer ? kHeader : 0);
}

bool is_frame_header(const uint8_t* b) {
    const int version = (b[1] >> 3) & 3;
    const int layer = (b[1] >> 1) & 3;
    const int bitrate = b[2] >> 4;
    const int rate = (b[2] >> 2) & 3;
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && version != 1 && layer != 0 &&
           bitrate != 15 && rate != 3;
}

}  // namespace

bool looks_like_mpeg_audio(const std::vector<uint8_t>& bytes) {
    std::size_t pos = 0;
    while (std::size_t tag = id3v2_tag_size(bytes, pos)) {
        if (tag > bytes.size() - pos) return false;
        pos += tag;
    }
    while (pos < bytes.size() && bytes[pos] == 0) ++pos;
    return bytes.size() - pos >= 4 && is_frame_header(bytes.data() + pos);
}

std::unique_ptr<SoundSource> open_mpeg_source(const std::vector<uint8_t>& bytes) {
    auto source = std::make_unique<MpegSource>(bytes);
    if (!source->open()) return nullptr;
    return source;
}

}  // namespace tiltophon
