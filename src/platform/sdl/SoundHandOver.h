// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/sdl/SoundDecoder.h"
#include "platform/sdl/SoundMixer.h"

namespace tiltophon {

// Hands the sounds to play to the audio device's callback without ever making the
// callback wait: the callback takes no lock, allocates and frees nothing, and only
// swaps an atomic pointer. Other threads hand sounds over under a lock of their own,
// which the callback never takes; they keep every sound the callback may still read
// alive, and let it go once the callback says it is done with it.
//
// What the callback has not taken yet is one batch: whether to end what plays, and
// the sounds to start after that, oldest first. A hand-over made before the callback
// came round joins the waiting batch.
class SoundHandOver {
public:
    // A new sound ends every one playing, or joins them (up to the mixer's voices).
    enum class Mode { kReplace, kOverlap };

    // Any thread but the callback's: `sound` starts at the callback's next buffer. With
    // kReplace it ends every sound playing (null: silence), unless a request numbered
    // later has been handed over already; with kOverlap it joins them, unless a later
    // request ended them. False when it came too late.
    bool hand_over(uint64_t request, std::shared_ptr<const DecodedSound> sound,
                   Mode mode = Mode::kReplace);

    // The callback: the next `bytes` of output, the sounds playing mixed, else silence.
    void render(uint8_t* out, std::size_t bytes);
    // The device's format. Only while the callback does not run (see SoundMixer).
    void set_format(const SDL_AudioSpec& format) { mixer_.set_format(format); }

    // Sounds whose first frame has gone out through `render`.
    uint64_t sounds_begun() const { return sounds_begun_.load(std::memory_order_acquire); }
    // When the latest sound was handed over, and when the first frame of the latest
    // one to start went out, in nanoseconds of the steady clock.
    int64_t last_handed_over_ns() const {
        return last_handed_over_ns_.load(std::memory_order_acquire);
    }
    int64_t last_begun_ns() const { return last_begun_ns_.load(std::memory_order_acquire); }

private:
    static constexpr std::size_t kVoices = SoundMixer::kVoices;

    // One sound handed over. Its fields do not change while the callback may read it;
    // the callback sets `done` when it no longer does.
    struct Slot {
        std::shared_ptr<const DecodedSound> owner;
        std::atomic<bool> done{false};
        bool used = false;
    };
    // The callback's work for its next buffer.
    struct Batch {
        bool end_playing = false;
        std::array<Slot*, kVoices> sounds{};
        std::size_t count = 0;
        // Producers' own: the batch was handed to the callback...
        bool published = false;
        // ...and the callback has read it.
        std::atomic<bool> read{false};
    };
    // Sounds playing, in a batch the callback is reading, in the waiting batch, and
    // the one being handed over.
    static constexpr std::size_t kSlots = 3 * kVoices + 1;
    // The one waiting, the one the callback reads, and one more.
    static constexpr std::size_t kBatches = 3;
    using Released = std::array<std::shared_ptr<const DecodedSound>, kSlots>;

    Slot* free_slot(Released& released);
    Batch* batch_to_fill();
    static void release(Slot* slot, Released& released);

    // Guards everything above the atomics below that hand-overs change.
    std::mutex producers_;
    std::array<Slot, kSlots> slots_;
    std::array<Batch, kBatches> batches_;
    uint64_t newest_request_ = 0;
    uint64_t newest_end_ = 0;

    std::atomic<Batch*> waiting_{nullptr};

    // The callback's own.
    SoundMixer mixer_;

    std::atomic<uint64_t> sounds_begun_{0};
    std::atomic<int64_t> last_handed_over_ns_{0};
    std::atomic<int64_t> last_begun_ns_{0};
};

}  // namespace tiltophon
