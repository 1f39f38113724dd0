// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlSoundPlayer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/Text.h"

namespace tiltophon {

namespace {

// How often the worker looks whether the device is still there, or back.
constexpr auto kDeviceCheck = std::chrono::seconds(1);

bool contains(const std::vector<std::u16string>& paths, std::u16string_view path) {
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}

void add_once(std::vector<std::u16string>& paths, const std::u16string& path) {
    if (!contains(paths, path)) paths.push_back(path);
}

uint8_t silence_of(const SDL_AudioSpec& spec) {
    return spec.format == AUDIO_U8 ? 0x80 : 0;
}

bool same_format(const SDL_AudioSpec& a, const SDL_AudioSpec& b) {
    return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

}  // namespace

SdlSoundPlayer::SdlSoundPlayer() : recent_(memory_.recent_count, memory_.recent_bytes) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;  // no audio at all: silent
    audio_initialised_ = true;
    if (!open_device()) return;
    worker_ = std::thread(&SdlSoundPlayer::worker_loop, this);
    SDL_PauseAudioDevice(device_, 0);
}

SdlSoundPlayer::SdlSoundPlayer(const SDL_AudioSpec& device_format, SoundMemory memory)
    : memory_(memory), recent_(memory.recent_count, memory.recent_bytes) {
    set_device_format(device_format);
    worker_ = std::thread(&SdlSoundPlayer::worker_loop, this);
}

SdlSoundPlayer::~SdlSoundPlayer() {
    {
        std::lock_guard lock(mailbox_mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (audio_initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Opens the default output and, when its format is new, makes the sounds follow it.
// Leaves the device paused.
bool SdlSoundPlayer::open_device() {
    SDL_AudioSpec wanted = audio_format(44100, AUDIO_S16SYS, 2, kBufferFrames);
    wanted.callback = &SdlSoundPlayer::audio_callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // The device may keep its own rate, format and channels (SDL then need not convert
    // twice), but the buffer stays small.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                      SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) return false;
    if (same_format(obtained, device_spec())) {
        // Whatever was handed over while the device was away is too old to start now.
        stop_output();
    } else {
        set_device_format(obtained);
    }
    return true;
}

void SdlSoundPlayer::set_device_format(const SDL_AudioSpec& format) {
    std::vector<ReadySound> dropped;
    std::vector<std::shared_ptr<const DecodedSound>> forgotten;
    {
        std::lock_guard mailbox(mailbox_mutex_);
        spec_ = format;
        spec_.silence = silence_of(format);
        ++format_generation_;
        unplayable_.clear();
        unkept_.clear();
        busy_ = true;
        {
            std::lock_guard ready(ready_mutex_);
            dropped.swap(ready_);
            forgotten = recent_.take_all();
        }
        output_.set_format(spec_);
        stop_output();
    }
    wake_.notify_one();
    // The old sounds are released here, outside every lock.
}

// Silence from the next buffer on; a request made before this one no longer plays.
void SdlSoundPlayer::stop_output() {
    output_.hand_over(requests_.fetch_add(1, std::memory_order_acq_rel) + 1, nullptr);
}

SoundHandOver::Mode SdlSoundPlayer::hand_over_mode() const {
    return overlap_.load(std::memory_order_acquire) ? SoundHandOver::Mode::kOverlap
                                                     : SoundHandOver::Mode::kReplace;
}

void SdlSoundPlayer::play_file(std::u16string_view path) {
    const uint64_t request = requests_.fetch_add(1, std::memory_order_acq_rel) + 1;
    if (std::shared_ptr<const DecodedSound> sound = find_played_before(path)) {
        output_.hand_over(request, std::move(sound), hand_over_mode());
        played_ready_.fetch_add(1, std::memory_order_release);
        return;
    }
    {
        std::lock_guard lock(mailbox_mutex_);
        if (spec_.freq == 0) return;
        pending_path_.assign(path);
        pending_request_ = request;
        pending_ = true;
        busy_ = true;
    }
    wake_.notify_one();
}

void SdlSoundPlayer::prepare(std::span<const std::u16string> paths) {
    {
        std::lock_guard lock(mailbox_mutex_);
        if (spec_.freq == 0) return;
        wanted_.clear();
        for (const std::u16string& path : paths) {
            if (!path.empty() && !contains(wanted_, path) && wanted_.size() < memory_.ready_count) {
                wanted_.push_back(path);
            }
        }
        // A file refused before may have been mended since the program last asked.
        unplayable_.clear();
        unkept_.clear();
        busy_ = true;
    }
    wake_.notify_one();
}

void SdlSoundPlayer::wait_until_idle() {
    std::unique_lock lock(mailbox_mutex_);
    idle_.wait(lock, [&] { return !busy_; });
}

SDL_AudioSpec SdlSoundPlayer::device_spec() const {
    std::lock_guard lock(mailbox_mutex_);
    return spec_;
}

bool SdlSoundPlayer::is_ready(std::u16string_view path) const {
    return find_ready(path) != nullptr;
}

bool SdlSoundPlayer::is_recent(std::u16string_view path) const {
    std::lock_guard lock(ready_mutex_);
    return recent_.contains(path);
}

std::vector<uint8_t> SdlSoundPlayer::convert_file_bytes(const std::vector<uint8_t>& bytes) const {
    std::shared_ptr<const DecodedSound> sound = decode_sound(bytes, device_spec());
    return sound ? sound->bytes : std::vector<uint8_t>{};
}

void SdlSoundPlayer::audio_callback(void* player, Uint8* stream, int bytes) {
    static_cast<SdlSoundPlayer*>(player)->render(stream, bytes);
}

void SdlSoundPlayer::render(uint8_t* out, int bytes) {
    output_.render(out, bytes > 0 ? std::size_t(bytes) : 0);
}

std::shared_ptr<const DecodedSound> SdlSoundPlayer::find_ready(std::u16string_view path) const {
    std::lock_guard lock(ready_mutex_);
    for (const ReadySound& ready : ready_) {
        if (ready.path == path) return ready.sound;
    }
    return nullptr;
}

// A sound kept ready or played lately, in the current format.
std::shared_ptr<const DecodedSound> SdlSoundPlayer::find_played_before(std::u16string_view path) {
    std::lock_guard lock(ready_mutex_);
    for (const ReadySound& ready : ready_) {
        if (ready.path == path) return ready.sound;
    }
    return recent_.find(path);
}

void SdlSoundPlayer::worker_loop() {
    std::unique_lock lock(mailbox_mutex_);
    auto next_check = std::chrono::steady_clock::now() + kDeviceCheck;
    while (!stop_) {
        if (pending_) {
            decode_request(lock);
            continue;
        }
        drop_unwanted();
        if (const std::u16string* next = next_to_prepare()) {
            prepare_next(lock, *next);
            continue;
        }
        busy_ = false;
        idle_.notify_all();
        if (device_ == 0 && !device_lost_) {
            wake_.wait(lock);
        } else if (wake_.wait_until(lock, next_check) == std::cv_status::timeout) {
            lock.unlock();
            check_device();
            lock.lock();
            next_check = std::chrono::steady_clock::now() + kDeviceCheck;
        }
    }
    lock.unlock();
    // SDL keeps error texts per thread; a thread it did not start must release them.
    SDL_TLSCleanup();
}

std::shared_ptr<const DecodedSound> SdlSoundPlayer::decode_file(const std::u16string& path,
                                                                const SDL_AudioSpec& spec,
                                                                const AbandonDecoding& abandon) {
    decoded_.fetch_add(1, std::memory_order_acq_rel);
    return decode_sound(read_sound_file(utf8_from_utf16(path)), spec, abandon);
}

// Decodes the sound asked for by `play_file` with the mailbox lock given up meanwhile;
// a newer request, a new device format or the player's end abandons it.
void SdlSoundPlayer::decode_request(std::unique_lock<std::mutex>& lock) {
    std::u16string path = std::move(pending_path_);
    const uint64_t request = pending_request_;
    const uint64_t generation = format_generation_;
    const SDL_AudioSpec spec = spec_;
    pending_ = false;
    // A slot's sound that could not be decoded is not tried again on every swing.
    if (contains(unplayable_, path)) return;
    lock.unlock();

    auto abandon = [&] {
        return requests_.load(std::memory_order_acquire) != request || stop_.load();
    };
    std::shared_ptr<const DecodedSound> sound = decode_file(path, spec, abandon);

    lock.lock();
    if (generation != format_generation_) return;
    if (!sound) {
        if (requests_.load() == request && !stop_ && contains(wanted_, path)) {
            add_once(unplayable_, path);
        }
        return;
    }
    output_.hand_over(request, sound, hand_over_mode());
    // The preview's sound, once played, is ready for the slot it may be given; any
    // other is remembered as a recent one.
    if (contains(wanted_, path) && !find_ready(path)) {
        keep_ready(path, std::move(sound));
    } else if (!find_ready(path)) {
        std::lock_guard ready(ready_mutex_);
        recent_.keep(path, std::move(sound));
    }
}

void SdlSoundPlayer::prepare_next(std::unique_lock<std::mutex>& lock, const std::u16string& next) {
    std::u16string path = next;
    // A sound played lately is ready without decoding it again.
    std::shared_ptr<const DecodedSound> sound;
    {
        std::lock_guard ready(ready_mutex_);
        sound = recent_.take(path);
    }
    if (sound) {
        keep_ready(path, std::move(sound));
        return;
    }
    const uint64_t generation = format_generation_;
    const SDL_AudioSpec spec = spec_;
    lock.unlock();

    // A sound to play goes first; the preparation starts again afterwards.
    auto abandon = [&] { return pending_.load() || stop_.load(); };
    sound = decode_file(path, spec, abandon);

    lock.lock();
    if (generation != format_generation_ || !contains(wanted_, path)) return;
    if (!sound) {
        if (!pending_ && !stop_) add_once(unplayable_, path);
        return;
    }
    keep_ready(path, std::move(sound));
}

// Under the mailbox lock.
const std::u16string* SdlSoundPlayer::next_to_prepare() const {
    for (const std::u16string& path : wanted_) {
        if (!contains(unplayable_, path) && !contains(unkept_, path) && !find_ready(path)) {
            return &path;
        }
    }
    return nullptr;
}

// Under the mailbox lock: keeps the sound ready when it fits the budget, else among the
// recent ones, remembering that it is not kept ready, so that it is not decoded ahead
// over and over.
void SdlSoundPlayer::keep_ready(const std::u16string& path,
                                std::shared_ptr<const DecodedSound> sound) {
    std::lock_guard lock(ready_mutex_);
    std::size_t used = 0;
    for (const ReadySound& ready : ready_) used += ready.sound->bytes.size();
    if (ready_.size() >= memory_.ready_count || used + sound->bytes.size() > memory_.ready_bytes) {
        add_once(unkept_, path);
        recent_.keep(path, std::move(sound));
        return;
    }
    ready_.push_back({path, std::move(sound)});
}

// Under the mailbox lock: a sound no longer wanted becomes a recent one.
void SdlSoundPlayer::drop_unwanted() {
    std::lock_guard lock(ready_mutex_);
    for (auto ready = ready_.begin(); ready != ready_.end();) {
        if (contains(wanted_, ready->path)) {
            ++ready;
            continue;
        }
        recent_.keep(ready->path, std::move(ready->sound));
        ready = ready_.erase(ready);
    }
}

// A device that went away (unplugged, its sound server restarted or stopped) is
// opened again as soon as it is back, perhaps in another format; until then the
// program goes on without sound.
void SdlSoundPlayer::check_device() {
    if (!device_lost_) {
        if (SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED) return;
        SDL_CloseAudioDevice(device_);
        device_ = 0;
        device_lost_ = true;
        std::fprintf(stderr,
                     "tiltophon: the sound output went away; sound comes back when it does\n");
    }
    if (!open_device()) return;  // tried again in a second
    device_lost_ = false;
    reopened_.fetch_add(1, std::memory_order_acq_rel);
    SDL_PauseAudioDevice(device_, 0);
    std::fprintf(stderr, "tiltophon: the sound output is back\n");
}

}  // namespace tiltophon
