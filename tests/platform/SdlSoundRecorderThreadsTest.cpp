// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlSoundRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "motion/TempFolder.h"
#include "sound/TakeCutter.h"
#include "support/ScopedEnv.h"

namespace tiltophon {
namespace {

// SDL's disk driver stands in for the microphone: it reads raw samples in the format
// the recorder asked for from SDL_DISKAUDIOFILEIN, as fast as it can, then gives
// silence once the file ends. No file: no microphone.
TEST(SdlSoundRecorderThreadsTest, AMicrophoneOfAnotherRateAndSixChannelsGivesTheTakesFormat) {
    TempFolder folder;
    const std::string input = folder.file("microphone.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILEIN", input.c_str());
    ScopedEnv delay("SDL_DISKAUDIODELAY", "0");
    SdlSoundRecorder recorder({44100, AUDIO_S16SYS, 6});

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(recorder.start_take());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    // Half a second of 440 Hz on all six channels.
    std::vector<int16_t> frames;
    for (int i = 0; i < 44100 / 2 * 6; ++i)
        frames.push_back(int16_t(12000 * std::sin(2 * M_PI * 440 * (i / 6) / 44100.0)));
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(frames.data()), frames.size() * 2);
    ASSERT_TRUE(recorder.start_take());
    // However slow the machine, until the driver has handed over two seconds.
    for (int i = 0; i < 400 && recorder.samples_so_far() < 2u * SoundRecorder::kRate; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_FALSE(recorder.take_failed());
    const std::vector<float> take = recorder.end_take();
    EXPECT_GE(take.size(), 2u * SoundRecorder::kRate);
    EXPECT_LE(take.size(), std::size_t{SoundRecorder::kRate} * SoundRecorder::kMaxSeconds);

    const std::vector<float> sound = TakeCutter(SoundRecorder::kRate).cut(take);
    EXPECT_NEAR(static_cast<double>(sound.size()), SoundRecorder::kRate * 0.5, 100);
    // Still 440 Hz: two zero crossings a period.
    int crossings = 0;
    for (std::size_t i = 1; i < sound.size(); ++i) crossings += (sound[i - 1] < 0) != (sound[i] < 0);
    EXPECT_NEAR(crossings, 440, 4);
}

}  // namespace
}  // namespace tiltophon
