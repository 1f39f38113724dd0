// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/sdl/SoundHandOver.h"

namespace tiltophon {
namespace {

using Mode = SoundHandOver::Mode;

constexpr std::size_t kBufferFrames = 256;
constexpr std::size_t kChannels = 2;

// A stereo sound of 16-bit frames whose left channel counts up from `base` and whose
// right channel counts down from it, so that any misplaced or lost frame shows.
std::shared_ptr<const DecodedSound> ramp(int16_t base, std::size_t frames) {
    std::vector<int16_t> samples;
    for (std::size_t i = 0; i < frames; ++i) {
        samples.push_back(int16_t(base + int(i)));
        samples.push_back(int16_t(-base - int(i)));
    }
    auto sound = std::make_shared<DecodedSound>();
    sound->bytes.resize(samples.size() * sizeof(int16_t));
    std::memcpy(sound->bytes.data(), samples.data(), sound->bytes.size());
    return sound;
}

std::vector<int16_t> samples_of(const DecodedSound& sound) {
    std::vector<int16_t> samples(sound.bytes.size() / sizeof(int16_t));
    std::memcpy(samples.data(), sound.bytes.data(), sound.bytes.size());
    return samples;
}

class SoundMixerTest : public ::testing::Test {
protected:
    SoundMixerTest() { output.set_format(audio_format(48000, AUDIO_S16SYS, kChannels)); }

    // The device's next buffers, as the callback would fill them.
    std::vector<int16_t> render(std::size_t buffers) {
        std::vector<int16_t> out(buffers * kBufferFrames * kChannels);
        for (std::size_t b = 0; b < buffers; ++b) {
            output.render(reinterpret_cast<uint8_t*>(out.data() + b * kBufferFrames * kChannels),
                          kBufferFrames * kChannels * sizeof(int16_t));
        }
        return out;
    }

    SoundHandOver output;
    uint64_t request = 0;
};

// Each case hands sounds over, some a buffer later than others, and the output must be
// the exact sum of the sounds, each from its own start to its end or its cut.
TEST_F(SoundMixerTest, TheOutputIsTheExactSumOfTheSoundsThatShouldPlay) {
    constexpr std::size_t kNever = 99;
    struct Start {
        std::size_t buffer;  // handed over before this buffer is rendered
        int16_t base;
        std::size_t frames;
        std::size_t cut_at;  // the buffer at whose start another sound ends it
    };
    struct Case {
        const char* name;
        Mode mode;
        std::vector<Start> starts;
    };
    const std::vector<Case> cases = {
        {"one sound", Mode::kOverlap, {{0, 100, 300, kNever}}},
        {"one sound, overlap off", Mode::kReplace, {{0, 100, 300, kNever}}},
        {"two overlapping", Mode::kOverlap, {{0, 100, 600, kNever}, {1, 1000, 300, kNever}}},
        {"two, overlap off: the second ends the first",
         Mode::kReplace,
         {{0, 100, 600, 1}, {1, 1000, 300, kNever}}},
        {"nine: the ninth ends the oldest",
         Mode::kOverlap,
         {{0, 10, 900, 2},
          {1, 20, 700, kNever},
          {1, 30, 700, kNever},
          {1, 40, 700, kNever},
          {1, 50, 700, kNever},
          {1, 60, 700, kNever},
          {1, 70, 700, kNever},
          {1, 80, 700, kNever},
          {2, 90, 400, kNever}}},
    };
    constexpr std::size_t kBufferSamples = kBufferFrames * kChannels;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SoundHandOver fresh;
        fresh.set_format(audio_format(48000, AUDIO_S16SYS, kChannels));
        std::vector<int16_t> out(5 * kBufferSamples);
        for (std::size_t b = 0; b < 5; ++b) {
            for (const Start& start : c.starts) {
                if (start.buffer != b) continue;
                ASSERT_TRUE(fresh.hand_over(++request, ramp(start.base, start.frames), c.mode));
            }
            fresh.render(reinterpret_cast<uint8_t*>(out.data() + b * kBufferSamples),
                         kBufferSamples * sizeof(int16_t));
        }

        std::vector<int32_t> expected(out.size(), 0);
        for (const Start& start : c.starts) {
            std::vector<int16_t> samples = samples_of(*ramp(start.base, start.frames));
            const std::size_t from = start.buffer * kBufferSamples;
            const std::size_t to = std::min(out.size(), start.cut_at * kBufferSamples);
            for (std::size_t k = 0; k < samples.size() && from + k < to; ++k) {
                expected[from + k] += samples[k];
            }
        }
        for (std::size_t k = 0; k < out.size(); ++k) {
            ASSERT_EQ(out[k], expected[k]) << "sample " << k;
        }
        EXPECT_EQ(fresh.sounds_begun(), c.starts.size());
    }
}

TEST_F(SoundMixerTest, AStopEndsEverySoundAndAnOlderRequestNoLongerStarts) {
    ASSERT_TRUE(output.hand_over(1, ramp(100, 2000), Mode::kOverlap));
    ASSERT_TRUE(output.hand_over(2, ramp(200, 2000), Mode::kOverlap));
    render(1);
    ASSERT_TRUE(output.hand_over(4, nullptr));
    // Decoded the slow way, it arrives after the stop that was asked later.
    EXPECT_FALSE(output.hand_over(3, ramp(300, 2000), Mode::kOverlap));
    for (int16_t sample : render(2)) ASSERT_EQ(sample, 0);
    ASSERT_TRUE(output.hand_over(5, ramp(400, 10), Mode::kOverlap));
    EXPECT_EQ(render(1)[0], 400);
}

// Two loud sine waves whose sum reaches 1.6 times full scale. Clipped, each crest would
// sit on full scale for some 45 frames; limited, it touches full scale at most around
// its top, and the wave keeps its shape.
TEST_F(SoundMixerTest, ALoudSumIsLimitedNotClipped) {
    constexpr std::size_t kFrames = 4864;
    auto sine = [](double phase) {
        std::vector<int16_t> samples;
        for (std::size_t i = 0; i < kFrames; ++i) {
            auto v = int16_t(
                std::lround(26000 * std::sin(2 * M_PI * 440 * double(i) / 48000 + phase)));
            samples.push_back(v);
            samples.push_back(v);
        }
        auto sound = std::make_shared<DecodedSound>();
        sound->bytes.resize(samples.size() * sizeof(int16_t));
        std::memcpy(sound->bytes.data(), samples.data(), sound->bytes.size());
        return sound;
    };
    ASSERT_TRUE(output.hand_over(1, sine(0), Mode::kOverlap));
    ASSERT_TRUE(output.hand_over(2, sine(0.3), Mode::kOverlap));
    std::vector<int16_t> out = render(kFrames / kBufferFrames);
    auto on_rail = [](int16_t v) { return v == 32767 || v == -32768; };
    std::size_t rail_frames = 0;
    std::size_t run = 0;
    for (std::size_t f = 0; f < kFrames; ++f) {
        ASSERT_EQ(out[2 * f], out[2 * f + 1]) << "frame " << f << ": the channels keep their balance";
        run = on_rail(out[2 * f]) ? run + 1 : 0;
        rail_frames += run > 0;
        // A frame either side of a crest may round to full scale; a flat top may not.
        ASSERT_LE(run, 2u) << "frame " << f;
    }
    // 440 Hz over 4864 frames: about 89 crests.
    EXPECT_LE(rail_frames, 2 * 90u);
}

}  // namespace
}  // namespace tiltophon
