// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlSoundPlayer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/Text.h"

namespace tiltophon {

namespace {

// Sound-board sounds are short; anything far beyond a few minutes is not one.
constexpr off_t kMaxFileBytes = 64 << 20;
constexpr std::size_t kMaxOutputBytes = std::size_t{256} << 20;
constexpr uint32_t kMaxChannels = 8;
constexpr uint32_t kMaxRate = 384000;
// Below any rate real recordings use. The resampler holds back and is padded with a
// fixed number of frames, so a file claiming a rate of a few hertz would turn its few
// bytes into minutes of output and hundreds of megabytes.
constexpr uint32_t kMinRate = 1000;
// The first part is kept small so that the sound starts at once; the rest follows
// in parts small enough that a new request never waits long for the worker.
constexpr std::size_t kFirstFrames = 2048;
constexpr std::size_t kLaterFrames = 8192;

uint32_t read_le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t read_le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// The whole of a regular file of sensible size; empty for anything else. A path that
// names a pipe or a device must not block the worker or feed it forever.
std::vector<uint8_t> read_file(const std::string& path) {
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

// A RIFF WAVE whose format chunk is sensible and whose sample data is all there. SDL's
// loader would play what is left of a cut file, and takes a data size beyond the
// end of the file at its word.
bool is_complete_wave(const std::vector<uint8_t>& bytes) {
    const uint8_t* b = bytes.data();
    std::size_t size = bytes.size();
    if (size < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0) {
        return false;
    }
    bool have_format = false;
    for (std::size_t pos = 12; size - pos >= 8;) {
        const uint8_t* id = b + pos;
        std::size_t length = read_le32(b + pos + 4);
        pos += 8;
        if (length > size - pos) return false;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (length < 16) return false;
            uint32_t channels = read_le16(b + pos + 2);
            uint32_t rate = read_le32(b + pos + 4);
            if (channels < 1 || channels > kMaxChannels || rate < kMinRate || rate > kMaxRate)
                return false;
            have_format = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            return have_format && length > 0;
        }
        pos += length + (length & 1);
        if (pos > size) return false;
    }
    return false;
}

}  // namespace

// One decoded sound. The worker converts it part by part into `out` and publishes
// how far it got in `ready`; the output side reads below that and keeps `position`.
struct SdlSoundPlayer::Sound {
    ~Sound() {
        if (stream) SDL_FreeAudioStream(stream);
        if (wav) SDL_FreeWAV(wav);
    }

    // Converts up to `frames` more frames of the file.
    void convert(std::size_t frames) {
        std::size_t done = ready.load(std::memory_order_relaxed);
        if (!converted) {
            std::size_t take = std::min<std::size_t>(frames * in_frame_bytes, wav_bytes - consumed);
            bool failed = take > 0 && SDL_AudioStreamPut(stream, wav + consumed, int(take)) != 0;
            consumed += take;
            if (consumed == wav_bytes && !failed && pad_frames > 0) {
                // SDL's resampler keeps back the last few hundred frames even when
                // flushed; trailing silence pushes them out.
                std::vector<Uint8> silence(pad_frames * in_frame_bytes, in_silence);
                failed = SDL_AudioStreamPut(stream, silence.data(), int(silence.size())) != 0;
            }
            if (consumed == wav_bytes || failed) SDL_AudioStreamFlush(stream);
            for (;;) {
                std::size_t room = (capacity - done) / out_frame_bytes * out_frame_bytes;
                int got = room == 0 ? 0
                                    : SDL_AudioStreamGet(stream, out.get() + done,
                                                         int(std::min<std::size_t>(room, 1 << 30)));
                if (got <= 0) break;
                done += std::size_t(got);
            }
            ready.store(done, std::memory_order_release);
            bool drained = consumed == wav_bytes || failed;
            if ((drained && SDL_AudioStreamAvailable(stream) == 0) ||
                capacity - done < out_frame_bytes) {
                converted = true;
            }
        }
        if (converted && stream) {
            SDL_FreeAudioStream(stream);
            stream = nullptr;
            SDL_FreeWAV(wav);
            wav = nullptr;
        }
    }

    Uint8* wav = nullptr;
    std::size_t wav_bytes = 0;
    std::size_t consumed = 0;
    std::size_t in_frame_bytes = 0;
    std::size_t pad_frames = 0;
    Uint8 in_silence = 0;
    SDL_AudioStream* stream = nullptr;
    std::unique_ptr<Uint8[]> out;
    std::size_t capacity = 0;
    std::size_t out_frame_bytes = 0;
    bool converted = false;
    std::atomic<std::size_t> ready{0};
    // Output side, under the output lock.
    std::size_t position = 0;
    bool begun = false;
};

SdlSoundPlayer::SdlSoundPlayer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;  // no audio at all: silent
    audio_initialised_ = true;
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kBufferFrames;
    wanted.callback = &SdlSoundPlayer::audio_callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // The device may keep its own rate, format and channels (SDL then need not convert
    // twice), but the buffer stays small.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                      SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) return;
    spec_ = obtained;
    start_worker();
    SDL_PauseAudioDevice(device_, 0);
}

SdlSoundPlayer::SdlSoundPlayer(const SDL_AudioSpec& device_format) : spec_(device_format) {
    spec_.silence = spec_.format == AUDIO_U8 ? 0x80 : 0;
    start_worker();
}

SdlSoundPlayer::~SdlSoundPlayer() {
    {
        std::lock_guard lock(mailbox_mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    current_.reset();
    if (audio_initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundPlayer::start_worker() {
    worker_ = std::thread(&SdlSoundPlayer::worker_loop, this);
}

void SdlSoundPlayer::play_file(std::u16string_view path) {
    if (spec_.freq == 0) return;
    std::string bytes = utf8_from_utf16(path);
    {
        std::lock_guard lock(mailbox_mutex_);
        pending_path_ = std::move(bytes);
        pending_ = true;
        busy_ = true;
    }
    wake_.notify_one();
}

void SdlSoundPlayer::wait_until_idle() {
    std::unique_lock lock(mailbox_mutex_);
    idle_.wait(lock, [&] { return !busy_; });
}

void SdlSoundPlayer::audio_callback(void* player, Uint8* stream, int bytes) {
    static_cast<SdlSoundPlayer*>(player)->render(stream, bytes);
}

void SdlSoundPlayer::render(uint8_t* out, int bytes) {
    std::size_t wanted = bytes > 0 ? std::size_t(bytes) : 0;
    std::size_t copied = 0;
    {
        std::lock_guard lock(output_mutex_);
        if (current_) {
            Sound& sound = *current_;
            std::size_t ready = sound.ready.load(std::memory_order_acquire);
            copied = std::min(wanted, ready - sound.position);
            std::memcpy(out, sound.out.get() + sound.position, copied);
            sound.position += copied;
            if (copied > 0 && !sound.begun) {
                sound.begun = true;
                sounds_begun_.fetch_add(1, std::memory_order_release);
            }
        }
    }
    std::memset(out + copied, spec_.silence, wanted - copied);
}

void SdlSoundPlayer::worker_loop() {
    Sound* converting = nullptr;  // owned by `current_`, which only this thread replaces
    for (;;) {
        std::string path;
        bool request = false;
        {
            std::unique_lock lock(mailbox_mutex_);
            bool more = converting && !converting->converted;
            if (!more && !pending_) {
                busy_ = false;
                idle_.notify_all();
            }
            wake_.wait(lock, [&] { return stop_ || pending_ || more; });
            if (stop_) break;
            if (pending_) {
                path = std::move(pending_path_);
                pending_ = false;
                request = true;
            }
        }
        if (!request) {
            converting->convert(kLaterFrames);
        } else if (std::unique_ptr<Sound> sound = load(path)) {
            sound->convert(kFirstFrames);
            converting = sound.get();
            publish(std::move(sound));
        }
    }
    // SDL keeps error texts per thread; a thread it did not start must release them.
    SDL_TLSCleanup();
}

std::unique_ptr<SdlSoundPlayer::Sound> SdlSoundPlayer::load(const std::string& path) const {
    return decode(read_file(path));
}

std::size_t SdlSoundPlayer::convert_file_bytes(std::vector<uint8_t> bytes) const {
    std::unique_ptr<Sound> sound = decode(std::move(bytes));
    if (!sound) return 0;
    while (!sound->converted) sound->convert(kLaterFrames);
    return sound->ready.load(std::memory_order_relaxed);
}

std::unique_ptr<SdlSoundPlayer::Sound> SdlSoundPlayer::decode(std::vector<uint8_t> bytes) const {
    if (!is_complete_wave(bytes)) return nullptr;

    auto sound = std::make_unique<Sound>();
    SDL_AudioSpec format{};
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!source || !SDL_LoadWAV_RW(source, 1, &format, &sound->wav, &length)) return nullptr;
    sound->wav_bytes = length;
    sound->in_frame_bytes = SDL_AUDIO_BITSIZE(format.format) / 8 * format.channels;
    sound->out_frame_bytes = SDL_AUDIO_BITSIZE(spec_.format) / 8 * spec_.channels;
    if (length < sound->in_frame_bytes || sound->in_frame_bytes == 0) return nullptr;

    sound->stream = SDL_NewAudioStream(format.format, format.channels, format.freq, spec_.format,
                                       spec_.channels, spec_.freq);
    if (!sound->stream) return nullptr;
    if (format.freq != spec_.freq) sound->pad_frames = 1024;
    sound->in_silence = format.format == AUDIO_U8 ? 0x80 : 0;
    // Room for every converted frame and the padding, plus what the resampler may add.
    uint64_t in_frames = length / sound->in_frame_bytes + sound->pad_frames;
    uint64_t frames = in_frames * uint64_t(spec_.freq) / uint64_t(format.freq) + 1024;
    uint64_t capacity = std::min<uint64_t>(frames * sound->out_frame_bytes, kMaxOutputBytes);
    sound->capacity = std::size_t(capacity) / sound->out_frame_bytes * sound->out_frame_bytes;
    sound->out.reset(new (std::nothrow) Uint8[sound->capacity]);
    if (!sound->out) return nullptr;
    return sound;
}

void SdlSoundPlayer::publish(std::unique_ptr<Sound> sound) {
    {
        std::lock_guard lock(output_mutex_);
        current_.swap(sound);
    }
    // The replaced sound is released here, outside the output's lock.
}

}  // namespace tiltophon
