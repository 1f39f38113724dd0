// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SoundHandOver.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cstring>

namespace tiltophon {

namespace {

int64_t steady_now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

bool SoundHandOver::hand_over(uint64_t request, std::shared_ptr<const DecodedSound> sound) {
    // Sounds let go of here are freed after the lock, so that no other hand-over
    // waits for the heap.
    std::array<std::shared_ptr<const DecodedSound>, kSlots> released;
    {
        std::lock_guard lock(producers_);
        if (request < newest_request_) return false;
        newest_request_ = request;
        release_finished(released);
        Slot* slot = free_slot();
        slot->sound = sound.get();
        slot->owner = std::move(sound);
        slot->sequence = ++sequence_;
        slot->used = true;
        last_handed_over_ns_.store(steady_now_ns(), std::memory_order_release);
        // A hand-over still waiting was never taken, and now never will be.
        if (Slot* skipped = waiting_.exchange(slot, std::memory_order_acq_rel)) {
            released[0] = std::move(skipped->owner);
            skipped->used = false;
        }
    }
    return true;
}

// Under the producers' lock. Every sound handed over before the one the callback took
// last is no longer read by it.
void SoundHandOver::release_finished(
    std::array<std::shared_ptr<const DecodedSound>, kSlots>& released) {
    const uint64_t taken = taken_.load(std::memory_order_acquire);
    for (std::size_t i = 0; i < kSlots; ++i) {
        Slot& slot = slots_[i];
        if (slot.used && slot.sequence < taken) {
            released[i] = std::move(slot.owner);
            slot.used = false;
        }
    }
}

// Under the producers' lock, after `release_finished`: one sound playing, one the
// callback may have taken without saying so yet and one waiting leave a slot free.
SoundHandOver::Slot* SoundHandOver::free_slot() {
    auto free = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return !s.used; });
    assert(free != slots_.end());
    return &*free;
}

void SoundHandOver::render(uint8_t* out, std::size_t bytes) {
    if (Slot* next = waiting_.exchange(nullptr, std::memory_order_acq_rel)) {
        playing_ = next->sound;
        position_ = 0;
        begun_ = false;
        taken_.store(next->sequence, std::memory_order_release);
    }
    std::size_t copied = 0;
    if (playing_) {
        const std::vector<uint8_t>& sound = playing_->bytes;
        copied = std::min(bytes, sound.size() - position_);
        std::memcpy(out, sound.data() + position_, copied);
        position_ += copied;
        if (copied > 0 && !begun_) {
            begun_ = true;
            last_begun_ns_.store(steady_now_ns(), std::memory_order_release);
            sounds_begun_.fetch_add(1, std::memory_order_release);
        }
    }
    std::memset(out + copied, silence_.load(std::memory_order_relaxed), bytes - copied);
}

}  // namespace tiltophon
