// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/Devices.h"
#include "platform/sdl/RecentSounds.h"
#include "platform/sdl/SoundDecoder.h"
#include "platform/sdl/SoundHandOver.h"

namespace tiltophon {

// Plays sound files through SDL's own audio on one output stream; libsndfile decodes
// them. The sounds the program names through `prepare` are decoded ahead, in the
// device's format, by a worker thread; `play_file` of one of them hands its buffer to
// the output at once, with no file access, decoding or allocation. Any other sound
// takes the slow way: `play_file` leaves the path in a one-slot mailbox (a newer
// request replaces one not yet taken), the worker reads and decodes the whole file,
// and the new sound replaces the one playing (or, with overlap on, joins it); it is then remembered among the recent
// sounds, so that playing it again is quick too. Files that are missing, empty, cut
// short, corrupt, absurdly large, too long, of an absurd sample rate or of a format
// libsndfile does not read play nothing and leave the current sound alone. Without an
// audio device the player is silent. SDL_AUDIODRIVER and SDL_DISKAUDIOFILE are left
// to the user.
//
// The device's callback never waits: the sound to play reaches it through
// SoundHandOver, without a lock. A device that goes away (its sound server restarts
// or stops, the output is unplugged) is looked for once a second and opened again as
// soon as it is back, perhaps in another format; the ready sounds are then decoded
// again by the worker. The loss is said once on standard error.
//
// Memory: at most `SoundMemory::ready_count` sounds are kept ready, together at most
// `ready_bytes` (a sound that would go beyond plays the slow way), and at most
// `recent_count` recent sounds of together `recent_bytes`; each sound, ready or not,
// is at most kMaxSoundSeconds long.
struct SoundMemory {
    // The five slots' sounds and the preview's.
    std::size_t ready_count = 6;
    std::size_t ready_bytes = std::size_t{64} << 20;
    // Room for a sound of the longest length in the largest format (23 MB).
    std::size_t recent_count = 4;
    std::size_t recent_bytes = std::size_t{32} << 20;
};

class SdlSoundPlayer : public SoundPlayer {
public:
    // Frames per device buffer: 256 (about 6 ms at 44.1 kHz).
    static constexpr uint16_t kBufferFrames = 256;

    // Opens the default output device, in whatever format it prefers.
    SdlSoundPlayer();
    // Opens no device: sounds are converted to `device_format` and pulled by the caller
    // with `render`. For tests and measurements.
    explicit SdlSoundPlayer(const SDL_AudioSpec& device_format, SoundMemory memory = {});
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void play_file(std::u16string_view path) override;
    void prepare(std::span<const std::u16string> paths) override;
    // Up to SoundMixer::kVoices sounds at once when on.
    void set_overlap(bool on) override { overlap_.store(on, std::memory_order_release); }
    void stop_all() override { stop_output(); }

    // The next `bytes` of output: the current sound where there is one, else silence.
    // The device's callback; safe to call while requests come in, and never waits.
    void render(uint8_t* out, int bytes);

    // Sounds from now on are converted to `format`: those ready in the old one are
    // decoded again, and the sound playing stops. Reopening a lost device calls it.
    void set_device_format(const SDL_AudioSpec& format);

    // Blocks until every request made so far plays or has been refused, and every
    // sound asked for by `prepare` is ready or has been refused.
    void wait_until_idle();

    // Decodes the bytes of a sound file and converts the whole sound to the output
    // format, as playing the file would; empty when the file is refused.
    std::vector<uint8_t> convert_file_bytes(const std::vector<uint8_t>& bytes) const;

    // The format sounds are converted to; `freq` is 0 when the player has no output.
    SDL_AudioSpec device_spec() const;
    // True when the file is decoded ahead in the current device format.
    bool is_ready(std::u16string_view path) const;
    // True when the file is among the recent sounds.
    bool is_recent(std::u16string_view path) const;
    // Sounds whose first frame has gone out through `render`.
    uint64_t sounds_begun() const { return output_.sounds_begun(); }
    // Sounds that `play_file` handed to the output ready-made (ready or recent).
    uint64_t sounds_played_ready() const { return played_ready_.load(std::memory_order_acquire); }
    // Files read and decoded, for any reason.
    uint64_t sounds_decoded() const { return decoded_.load(std::memory_order_acquire); }
    // Times the output device was opened again after it went away.
    uint64_t device_reopened() const { return reopened_.load(std::memory_order_acquire); }
    // When the latest sound was handed to the output, and when its first frame went
    // out through `render`, in nanoseconds of the steady clock.
    int64_t last_handed_over_ns() const { return output_.last_handed_over_ns(); }
    int64_t last_begun_ns() const { return output_.last_begun_ns(); }

private:
    struct ReadySound {
        std::u16string path;
        std::shared_ptr<const DecodedSound> sound;
    };

    static void audio_callback(void* player, Uint8* stream, int bytes);
    bool open_device();
    void worker_loop();
    void decode_request(std::unique_lock<std::mutex>& lock);
    void prepare_next(std::unique_lock<std::mutex>& lock, const std::u16string& path);
    std::shared_ptr<const DecodedSound> decode_file(const std::u16string& path,
                                                    const SDL_AudioSpec& spec,
                                                    const AbandonDecoding& abandon);
    const std::u16string* next_to_prepare() const;
    void drop_unwanted();
    void keep_ready(const std::u16string& path, std::shared_ptr<const DecodedSound> sound);
    std::shared_ptr<const DecodedSound> find_ready(std::u16string_view path) const;
    std::shared_ptr<const DecodedSound> find_played_before(std::u16string_view path);
    void stop_output();
    SoundHandOver::Mode hand_over_mode() const;
    void check_device();

    const SoundMemory memory_;
    SDL_AudioDeviceID device_ = 0;
    bool audio_initialised_ = false;
    // Worker only: the device went away and is not back yet.
    bool device_lost_ = false;

    // Mailbox and worker state, guarded by `mailbox_mutex_`. Lock order: mailbox,
    // ready.
    mutable std::mutex mailbox_mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    SDL_AudioSpec spec_{};
    uint64_t format_generation_ = 0;
    std::u16string pending_path_;
    uint64_t pending_request_ = 0;
    // Also read without the lock by a decoding that may have to give way.
    std::atomic<bool> pending_{false};
    std::atomic<bool> stop_{false};
    bool busy_ = false;
    std::vector<std::u16string> wanted_;
    // Wanted, but not played (their decoding failed) or not kept (over the budget):
    // each holds wanted paths only, once.
    std::vector<std::u16string> unplayable_;
    std::vector<std::u16string> unkept_;

    // The sounds decoded ahead and the recent ones, guarded by `ready_mutex_`.
    mutable std::mutex ready_mutex_;
    std::vector<ReadySound> ready_;
    RecentSounds recent_;

    // Requests are numbered so that the newest wins, whichever way it comes.
    std::atomic<uint64_t> requests_{0};
    std::atomic<bool> overlap_{false};
    SoundHandOver output_;

    std::atomic<uint64_t> played_ready_{0};
    std::atomic<uint64_t> decoded_{0};
    std::atomic<uint64_t> reopened_{0};

    std::thread worker_;
};

}  // namespace tiltophon
