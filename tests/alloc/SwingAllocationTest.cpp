// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A swing to a slot whose sound is ready must reach the audio device without touching
// the heap: an allocation can wait on the allocator's lock, which a preempted thread
// may hold, and the sound would start a period late.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "alloc/CountingAllocator.h"
#include "motion/TempFolder.h"
#include "platform/media/WaveFile.h"
#include "platform/sdl/SdlDevices.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "support/OneSlotProgram.h"

namespace tiltophon {
namespace {

TEST(SwingAllocationThreads, AReadySwingAllocatesNothingFromDispatchToTheDevice) {
    TempFolder temp;
    std::string error;
    const std::string wave = temp.file("A.wav");
    ASSERT_TRUE(write_file(wave, encode_wave_s16(std::vector<float>(4410, 0.4f), 44100), error))
        << error;

    SdlSoundPlayer player(audio_format(44100, AUDIO_S16SYS, 1));
    SdlThreadRunner threads;
    OneSlotProgram program(player, threads, utf16_from_utf8(wave));
    ASSERT_TRUE(player.is_ready(utf16_from_utf8(wave)));

    // The device's callback, pulled here, one 256-frame period at a time.
    std::vector<int16_t> period(256);
    auto swing_until_heard = [&] {
        const uint64_t begun = player.sounds_begun();
        on_motion_message(nullptr, kMotionMessage, 1, 0);
        for (int tries = 0; tries < 20000 && player.sounds_begun() == begun; ++tries) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            player.render(reinterpret_cast<uint8_t*>(period.data()), int(period.size() * 2));
        }
        return player.sounds_begun() > begun && period[0] > 10000;
    };
    // The first swing starts the thread runner's pooled threads.
    ASSERT_TRUE(swing_until_heard());

    AllocationCount allocations;
    int heard = 0;
    for (int swing = 0; swing < 50; ++swing) heard += swing_until_heard();
    const long allocated = allocations.count();

    EXPECT_EQ(heard, 50);
    EXPECT_EQ(allocated, 0) << "the dispatch, the playback routine, the hand-over or the "
                               "device's callback allocated";
    EXPECT_EQ(player.sounds_played_ready(), 51u);
}

}  // namespace
}  // namespace tiltophon
