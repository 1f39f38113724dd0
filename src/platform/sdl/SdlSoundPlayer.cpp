// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlSoundPlayer.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/Text.h"

namespace tiltophon {

namespace {

// How often an idle worker looks whether the device is still there.
constexpr auto kDeviceCheck = std::chrono::seconds(1);

bool contains(const std::vector<std::u16string>& paths, std::u16string_view path) {
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}

int64_t steady_now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

uint8_t silence_of(const SDL_AudioSpec& spec) {
    return spec.format == AUDIO_U8 ? 0x80 : 0;
}

}  // namespace

SdlSoundPlayer::SdlSoundPlayer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;  // no audio at all: silent
    audio_initialised_ = true;
    open_device();
    if (device_ == 0) return;
    worker_ = std::thread(&SdlSoundPlayer::worker_loop, this);
    SDL_PauseAudioDevice(device_, 0);
}

SdlSoundPlayer::SdlSoundPlayer(const SDL_AudioSpec& device_format) {
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

void SdlSoundPlayer::open_device() {
    SDL_AudioSpec wanted = audio_format(44100, AUDIO_S16SYS, 2, kBufferFrames);
    wanted.callback = &SdlSoundPlayer::audio_callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // The device may keep its own rate, format and channels (SDL then need not convert
    // twice), but the buffer stays small.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                      SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ != 0) set_device_format(obtained);
}

void SdlSoundPlayer::set_device_format(const SDL_AudioSpec& format) {
    std::shared_ptr<const DecodedSound> stopped;
    std::vector<ReadySound> dropped;
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
        }
        std::lock_guard output(output_mutex_);
        stopped = std::move(current_);
        silence_ = spec_.silence;
    }
    wake_.notify_one();
    // The old sounds are released here, outside every lock.
}

void SdlSoundPlayer::play_file(std::u16string_view path) {
    const uint64_t request = requests_.fetch_add(1, std::memory_order_acq_rel) + 1;
    if (std::shared_ptr<const DecodedSound> sound = find_ready(path)) {
        hand_over(request, std::move(sound));
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
            if (!path.empty() && !contains(wanted_, path) && wanted_.size() < kReadyLimit) {
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

std::vector<uint8_t> SdlSoundPlayer::convert_file_bytes(const std::vector<uint8_t>& bytes) const {
    std::shared_ptr<const DecodedSound> sound = decode_sound(bytes, device_spec());
    return sound ? sound->bytes : std::vector<uint8_t>{};
}

void SdlSoundPlayer::audio_callback(void* player, Uint8* stream, int bytes) {
    static_cast<SdlSoundPlayer*>(player)->render(stream, bytes);
}

void SdlSoundPlayer::render(uint8_t* out, int bytes) {
    std::size_t wanted = bytes > 0 ? std::size_t(bytes) : 0;
    std::size_t copied = 0;
    uint8_t silence = 0;
    {
        std::lock_guard lock(output_mutex_);
        silence = silence_;
        if (current_) {
            const std::vector<uint8_t>& sound = current_->bytes;
            copied = std::min(wanted, sound.size() - position_);
            std::memcpy(out, sound.data() + position_, copied);
            position_ += copied;
            if (copied > 0 && !begun_) {
                begun_ = true;
                last_begun_ns_.store(steady_now_ns(), std::memory_order_release);
                sounds_begun_.fetch_add(1, std::memory_order_release);
            }
        }
    }
    std::memset(out + copied, silence, wanted - copied);
}

std::shared_ptr<const DecodedSound> SdlSoundPlayer::find_ready(std::u16string_view path) const {
    std::lock_guard lock(ready_mutex_);
    for (const ReadySound& ready : ready_) {
        if (ready.path == path) return ready.sound;
    }
    return nullptr;
}

void SdlSoundPlayer::hand_over(uint64_t request, std::shared_ptr<const DecodedSound> sound) {
    {
        std::lock_guard lock(output_mutex_);
        // A request made later has already been handed over: this one is too late.
        if (request < current_request_) return;
        current_request_ = request;
        current_.swap(sound);
        position_ = 0;
        begun_ = false;
        last_handed_over_ns_.store(steady_now_ns(), std::memory_order_release);
    }
    // The replaced sound is released here, outside the output's lock.
}

void SdlSoundPlayer::worker_loop() {
    std::unique_lock lock(mailbox_mutex_);
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
        if (device_ == 0) {
            wake_.wait(lock);
        } else if (wake_.wait_for(lock, kDeviceCheck) == std::cv_status::timeout) {
            lock.unlock();
            check_device();
            lock.lock();
        }
    }
    lock.unlock();
    // SDL keeps error texts per thread; a thread it did not start must release them.
    SDL_TLSCleanup();
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
    std::shared_ptr<const DecodedSound> sound =
        decode_sound(read_sound_file(utf8_from_utf16(path)), spec, abandon);

    lock.lock();
    if (generation != format_generation_) return;
    if (!sound) {
        if (requests_.load() == request && !stop_ && contains(wanted_, path)) {
            unplayable_.push_back(path);
        }
        return;
    }
    hand_over(request, sound);
    // The preview's sound, once played, is ready for the slot it may be given.
    if (contains(wanted_, path) && !find_ready(path)) keep_ready(path, std::move(sound));
}

void SdlSoundPlayer::prepare_next(std::unique_lock<std::mutex>& lock, const std::u16string& next) {
    std::u16string path = next;
    const uint64_t generation = format_generation_;
    const SDL_AudioSpec spec = spec_;
    lock.unlock();

    // A sound to play goes first; the preparation starts again afterwards.
    auto abandon = [&] { return pending_.load() || stop_.load(); };
    std::shared_ptr<const DecodedSound> sound =
        decode_sound(read_sound_file(utf8_from_utf16(path)), spec, abandon);

    lock.lock();
    if (generation != format_generation_ || !contains(wanted_, path)) return;
    if (!sound) {
        if (!pending_ && !stop_) unplayable_.push_back(path);
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

// Under the mailbox lock: keeps the sound ready when it fits the budget, else
// remembers that it is not kept, so that it is not decoded ahead over and over.
void SdlSoundPlayer::keep_ready(const std::u16string& path,
                                std::shared_ptr<const DecodedSound> sound) {
    std::lock_guard lock(ready_mutex_);
    std::size_t used = 0;
    for (const ReadySound& ready : ready_) used += ready.sound->bytes.size();
    if (ready_.size() >= kReadyLimit || used + sound->bytes.size() > kReadyBudget) {
        unkept_.push_back(path);
        return;
    }
    ready_.push_back({path, std::move(sound)});
}

// Under the mailbox lock.
void SdlSoundPlayer::drop_unwanted() {
    std::lock_guard lock(ready_mutex_);
    std::erase_if(ready_, [&](const ReadySound& ready) { return !contains(wanted_, ready.path); });
}

// A device that went away (unplugged, its sound server restarted) is opened again,
// perhaps in another format.
void SdlSoundPlayer::check_device() {
    if (SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED) return;
    SDL_CloseAudioDevice(device_);
    open_device();
    if (device_ != 0) {
        SDL_PauseAudioDevice(device_, 0);
    } else {
        set_device_format(SDL_AudioSpec{});  // silent from now on
    }
}

}  // namespace tiltophon
