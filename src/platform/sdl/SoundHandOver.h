// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/sdl/SoundDecoder.h"

namespace tiltophon {

// Hands the sound to play to the audio device's callback without ever making the
// callback wait: the callback takes no lock, allocates and frees nothing, and only
// swaps an atomic pointer. Other threads hand sounds over under a lock of their own,
// which the callback never takes; they keep every sound the callback may still read
// alive, and let it go once the callback has moved on to a newer one.
class SoundHandOver {
public:
    // Any thread but the callback's: `sound` (null: silence) becomes the output's
    // sound at the start of the callback's next buffer, unless a request numbered
    // later has been handed over already. False when it came too late.
    bool hand_over(uint64_t request, std::shared_ptr<const DecodedSound> sound);

    // The callback: the next `bytes` of output, the current sound where there is one,
    // else `silence` bytes.
    void render(uint8_t* out, std::size_t bytes);
    void set_silence(uint8_t silence) { silence_.store(silence, std::memory_order_relaxed); }

    // Sounds whose first frame has gone out through `render`.
    uint64_t sounds_begun() const { return sounds_begun_.load(std::memory_order_acquire); }
    // When the latest sound was handed over, and when its first frame went out, in
    // nanoseconds of the steady clock.
    int64_t last_handed_over_ns() const {
        return last_handed_over_ns_.load(std::memory_order_acquire);
    }
    int64_t last_begun_ns() const { return last_begun_ns_.load(std::memory_order_acquire); }

private:
    // One hand-over. Its fields do not change while the callback may read them.
    struct Slot {
        const DecodedSound* sound = nullptr;
        uint64_t sequence = 0;
        std::shared_ptr<const DecodedSound> owner;
        bool used = false;
    };
    // At most the sound playing, one the callback has just taken, one waiting and the
    // one being handed over.
    static constexpr std::size_t kSlots = 4;

    Slot* free_slot();
    void release_finished(std::array<std::shared_ptr<const DecodedSound>, kSlots>& released);

    // Guards everything above the atomics below that hand-overs change.
    std::mutex producers_;
    std::array<Slot, kSlots> slots_;
    uint64_t sequence_ = 0;
    uint64_t newest_request_ = 0;

    // The hand-over waiting for the callback, and the sequence of the one it took last.
    std::atomic<Slot*> waiting_{nullptr};
    std::atomic<uint64_t> taken_{0};
    std::atomic<uint8_t> silence_{0};

    // The callback's own.
    const DecodedSound* playing_ = nullptr;
    std::size_t position_ = 0;
    bool begun_ = false;

    std::atomic<uint64_t> sounds_begun_{0};
    std::atomic<int64_t> last_handed_over_ns_{0};
    std::atomic<int64_t> last_begun_ns_{0};
};

}  // namespace tiltophon
