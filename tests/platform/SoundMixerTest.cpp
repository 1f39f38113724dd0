// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "platform/sdl/SoundHandOver.h"

namespace tiltophon {
namespace {

using Mode = SoundHandOver::Mode;
constexpr std::size_t kBuffer = 256 * 2;  // samples of one stereo device buffer

std::shared_ptr<const DecodedSound> sound_of(const std::vector<int16_t>& samples) {
    auto sound = std::make_shared<DecodedSound>();
    sound->bytes.resize(samples.size() * sizeof(int16_t));
    std::memcpy(sound->bytes.data(), samples.data(), sound->bytes.size());
    return sound;
}

// A sound counting up from `base`, so that any misplaced or lost sample shows, handed
// over before `buffer` and ended by another at the start of buffer `cut_at`.
struct Start {
    std::size_t buffer;
    int base;
    std::size_t samples;
    std::size_t cut_at = 99;
};

// Hands the sounds over as the cases say, and the output must be the exact sum of the
// sounds, each from its own start to its end or its cut.
TEST(SoundMixerTest, TheOutputIsTheExactSumOfTheSoundsThatShouldPlay) {
    struct Case {
        const char* name;
        Mode mode;
        std::vector<Start> starts;
        bool stop_before_buffer_3 = false;
    };
    std::vector<Start> nine = {{0, 10, 1800, 2}, {2, 90, 800}};
    for (int v = 2; v <= 8; ++v) nine.insert(nine.end() - 1, {1, 10 * v, 1400});
    const std::vector<Case> cases = {
        {"one sound", Mode::kOverlap, {{0, 100, 600}}},
        {"two overlapping", Mode::kOverlap, {{0, 100, 1200}, {1, 1000, 600}}},
        {"two, overlap off: the second ends the first",
         Mode::kReplace,
         {{0, 100, 1200, 1}, {1, 1000, 600}}},
        {"nine: the ninth ends the oldest", Mode::kOverlap, nine},
        {"a stop ends them all", Mode::kOverlap, {{0, 100, 5000, 3}, {1, 10, 5000, 3}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SoundHandOver output;
        output.set_format(audio_format(48000, AUDIO_S16SYS, 2));
        uint64_t request = 0;
        std::vector<int16_t> out(5 * kBuffer);
        std::vector<int32_t> expected(out.size(), 0);
        for (std::size_t b = 0; b < 5; ++b) {
            for (const Start& s : c.starts) {
                if (s.buffer != b) continue;
                std::vector<int16_t> samples(s.samples);
                for (std::size_t k = 0; k < s.samples; ++k) samples[k] = int16_t(s.base + int(k));
                ASSERT_TRUE(output.hand_over(++request, sound_of(samples), c.mode));
                const std::size_t end =
                    std::min({b * kBuffer + s.samples, s.cut_at * kBuffer, out.size()});
                for (std::size_t k = b * kBuffer; k < end; ++k)
                    expected[k] += samples[k - b * kBuffer];
            }
            if (c.stop_before_buffer_3 && b == 3) {
                ASSERT_TRUE(output.hand_over(request + 2, nullptr));
                // Decoded the slow way, it comes after the stop that was asked later.
                EXPECT_FALSE(output.hand_over(request + 1, sound_of({1, 2}), c.mode));
            }
            output.render(reinterpret_cast<uint8_t*>(out.data() + b * kBuffer), kBuffer * 2);
        }
        for (std::size_t k = 0; k < out.size(); ++k) ASSERT_EQ(out[k], expected[k]) << k;
        EXPECT_EQ(output.sounds_begun(), c.starts.size());
    }
}

// Two loud sine waves whose sum reaches 1.6 times full scale. Clipped, each crest would
// sit on full scale for some 45 frames; limited, it touches full scale at most around
// its top, and both channels keep their balance.
TEST(SoundMixerTest, ALoudSumIsLimitedNotClipped) {
    SoundHandOver output;
    output.set_format(audio_format(48000, AUDIO_S16SYS, 2));
    for (double phase : {0.0, 0.3}) {
        std::vector<int16_t> samples;
        for (std::size_t i = 0; i < 19 * kBuffer; ++i) {
            samples.push_back(int16_t(
                std::lround(26000 * std::sin(2 * M_PI * 440 * double(i / 2) / 48000 + phase))));
        }
        ASSERT_TRUE(output.hand_over(phase == 0 ? 1 : 2, sound_of(samples), Mode::kOverlap));
    }
    std::vector<int16_t> out(19 * kBuffer);
    for (std::size_t b = 0; b < 19; ++b)
        output.render(reinterpret_cast<uint8_t*>(&out[b * kBuffer]), kBuffer * 2);
    std::size_t run = 0;
    for (std::size_t f = 0; f < out.size() / 2; ++f) {
        ASSERT_EQ(out[2 * f], out[2 * f + 1]) << "frame " << f;
        run = out[2 * f] == 32767 || out[2 * f] == -32768 ? run + 1 : 0;
        ASSERT_LE(run, 2u) << "frame " << f;
    }
}

// Two threads hand sounds over and stop them while the callback renders: every slot
// and batch comes back for reuse (an exhausted pool asserts), and nothing races.
TEST(SoundMixerThreads, HandOversAndStopsFromTwoThreadsWhileTheCallbackRenders) {
    SoundHandOver output;
    output.set_format(audio_format(48000, AUDIO_S16SYS, 2));
    std::atomic<uint64_t> requests{0};
    std::atomic<bool> done{false};
    auto producer = [&](int stop_every) {
        for (int i = 1; i <= 3000; ++i) {
            auto sound = i % stop_every == 0 ? nullptr : sound_of(std::vector<int16_t>(700, 1));
            output.hand_over(++requests, std::move(sound), Mode::kOverlap);
        }
    };
    std::thread callback([&] {
        std::vector<int16_t> out(kBuffer);
        while (!done) output.render(reinterpret_cast<uint8_t*>(out.data()), kBuffer * 2);
    });
    std::thread a(producer, 50), b(producer, 7);
    a.join();
    b.join();
    done = true;
    callback.join();
    EXPECT_GT(output.sounds_begun(), 0u);
}

}  // namespace
}  // namespace tiltophon
