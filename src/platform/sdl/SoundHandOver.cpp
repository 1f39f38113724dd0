// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SoundHandOver.h"

#include <algorithm>
#include <cassert>
#include <chrono>

namespace tiltophon {

namespace {

int64_t steady_now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

bool SoundHandOver::hand_over(uint64_t request, std::shared_ptr<const DecodedSound> sound,
                              Mode mode) {
    // Sounds let go of here are freed after the lock, so that no other hand-over
    // waits for the heap.
    Released released;
    {
        std::lock_guard lock(producers_);
        const bool ends_playing = mode == Mode::kReplace || !sound;
        if (request < (ends_playing ? newest_request_ : newest_end_)) return false;
        newest_request_ = std::max(newest_request_, request);
        if (ends_playing) newest_end_ = request;

        Batch* batch = batch_to_fill();
        if (ends_playing) {
            // What waits to start would be ended at once: it never starts.
            for (std::size_t i = 0; i < batch->count; ++i) release(batch->sounds[i], released);
            batch->count = 0;
            batch->end_playing = true;
        }
        if (sound) {
            if (batch->count == kVoices) {
                release(batch->sounds[0], released);
                std::move(batch->sounds.begin() + 1, batch->sounds.end(), batch->sounds.begin());
                --batch->count;
            }
            Slot* slot = free_slot(released);
            slot->owner = std::move(sound);
            slot->done.store(false, std::memory_order_relaxed);
            slot->used = true;
            batch->sounds[batch->count++] = slot;
        }
        batch->published = true;
        batch->read.store(false, std::memory_order_relaxed);
        last_handed_over_ns_.store(steady_now_ns(), std::memory_order_release);
        waiting_.store(batch, std::memory_order_release);
    }
    return true;
}

// Under the producers' lock: the batch the callback has not taken yet, taken back, or
// a new one.
SoundHandOver::Batch* SoundHandOver::batch_to_fill() {
    if (Batch* waiting = waiting_.exchange(nullptr, std::memory_order_acq_rel)) return waiting;
    auto free = std::find_if(batches_.begin(), batches_.end(), [](const Batch& b) {
        return !b.published || b.read.load(std::memory_order_acquire);
    });
    assert(free != batches_.end());
    free->end_playing = false;
    free->count = 0;
    return &*free;
}

// Under the producers' lock: a slot whose sound the callback no longer reads.
SoundHandOver::Slot* SoundHandOver::free_slot(Released& released) {
    Slot* free = nullptr;
    for (Slot& slot : slots_) {
        if (slot.used && slot.done.load(std::memory_order_acquire)) release(&slot, released);
        if (!slot.used && !free) free = &slot;
    }
    assert(free);
    return free;
}

// Under the producers' lock: the sound is freed once the lock is given up.
void SoundHandOver::release(Slot* slot, Released& released) {
    for (auto& keep : released) {
        if (!keep) {
            keep = std::move(slot->owner);
            break;
        }
    }
    slot->owner.reset();
    slot->used = false;
}

void SoundHandOver::render(uint8_t* out, std::size_t bytes) {
    if (Batch* batch = waiting_.exchange(nullptr, std::memory_order_acq_rel)) {
        if (batch->end_playing) mixer_.stop_all();
        for (std::size_t i = 0; i < batch->count; ++i) {
            Slot* slot = batch->sounds[i];
            mixer_.start(slot->owner.get(), &slot->done);
        }
        batch->read.store(true, std::memory_order_release);
    }
    if (std::size_t begun = mixer_.mix(out, bytes)) {
        last_begun_ns_.store(steady_now_ns(), std::memory_order_release);
        sounds_begun_.fetch_add(begun, std::memory_order_release);
    }
}

}  // namespace tiltophon
