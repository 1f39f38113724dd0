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
// the recorder asked for from SDL_DISKAUDIOFILEIN, then silence once the file ends.
class SdlSoundRecorderTest : public ::testing::Test {
protected:
    SdlSoundRecorderTest() : input_(folder_.file("microphone.raw")) {}

    // A 6-channel 44.1 kHz microphone: `ms` of a 440 Hz tone on every channel.
    void write_six_channel_tone(int ms) {
        std::ofstream out(input_, std::ios::binary);
        const int frames = 44100 * ms / 1000;
        for (int i = 0; i < frames; ++i) {
            const auto sample = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440 * i / 44100.0));
            for (int channel = 0; channel < 6; ++channel) {
                out.write(reinterpret_cast<const char*>(&sample), sizeof sample);
            }
        }
    }

    // Waits, however slow the machine, until the driver has handed over `samples`.
    static void wait_for(SdlSoundRecorder& recorder, std::size_t samples) {
        for (int i = 0; i < 400 && recorder.samples_so_far() < samples; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }

    TempFolder folder_;
    std::string input_;
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_{"SDL_DISKAUDIOFILEIN", input_.c_str()};
    // The driver reads as fast as it can instead of at the microphone's pace.
    ScopedEnv delay_{"SDL_DISKAUDIODELAY", "0"};
};

TEST_F(SdlSoundRecorderTest, AMicrophoneOfAnotherRateAndSixChannelsGivesTheTakesFormat) {
    write_six_channel_tone(500);
    SdlSoundRecorder recorder({44100, AUDIO_S16SYS, 6});
    ASSERT_TRUE(recorder.start_take());
    wait_for(recorder, SoundRecorder::kRate * 2);
    EXPECT_FALSE(recorder.take_failed());
    const std::vector<float> take = recorder.end_take();

    // Past the file the driver gives silence, up to the longest take.
    EXPECT_GE(take.size(), std::size_t{SoundRecorder::kRate} * 2);
    EXPECT_LE(take.size(), std::size_t{SoundRecorder::kRate} * SoundRecorder::kMaxSeconds);
    const std::vector<float> sound = TakeCutter(SoundRecorder::kRate).cut(take);
    EXPECT_NEAR(static_cast<double>(sound.size()), SoundRecorder::kRate * 0.5, 100);
    // Still 440 Hz: two zero crossings a period.
    int crossings = 0;
    for (std::size_t i = 1; i < sound.size(); ++i) crossings += (sound[i - 1] < 0) != (sound[i] < 0);
    EXPECT_NEAR(crossings, 440, 4);
}

TEST_F(SdlSoundRecorderTest, NoMicrophoneIsSaidOnceAndAnotherTakeCanFollow) {
    ::testing::internal::CaptureStderr();
    SdlSoundRecorder recorder;
    EXPECT_FALSE(recorder.start_take());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(recorder.end_take().empty());

    write_six_channel_tone(100);
    EXPECT_TRUE(recorder.start_take());
    wait_for(recorder, SoundRecorder::kRate / 4);
    EXPECT_FALSE(recorder.end_take().empty());
}

}  // namespace
}  // namespace tiltophon
