// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The audio callback's work with eight sounds ringing together, as a share of the time
// one device buffer lasts.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/sdl/SoundHandOver.h"

namespace tiltophon {
namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 2;
constexpr std::size_t kPeriodFrames = 256;

// Ten seconds of a tone at half of full scale: eight of them sum to four times full
// scale, so the limiter works all the time, which is the most it costs.
std::shared_ptr<const DecodedSound> loud_tone(SDL_AudioFormat format) {
    const std::size_t frames = std::size_t(kRate) * 10;
    const std::size_t sample_bytes = SDL_AUDIO_BITSIZE(format) / 8;
    auto sound = std::make_shared<DecodedSound>();
    sound->bytes.resize(frames * kChannels * sample_bytes);
    for (std::size_t f = 0; f < frames; ++f) {
        const double v = 0.5 * std::sin(2 * M_PI * 220 * double(f) / kRate);
        for (int c = 0; c < kChannels; ++c) {
            uint8_t* at = sound->bytes.data() + (f * kChannels + c) * sample_bytes;
            if (format == AUDIO_F32SYS) {
                float sample = float(v);
                std::memcpy(at, &sample, sizeof sample);
            } else {
                auto sample = int16_t(std::lround(v * 32767));
                std::memcpy(at, &sample, sizeof sample);
            }
        }
    }
    return sound;
}

void BM_EightVoicesPerPeriod(benchmark::State& state) {
    const auto format = static_cast<SDL_AudioFormat>(state.range(0));
    SoundHandOver output;
    output.set_format(audio_format(kRate, format, kChannels, kPeriodFrames));
    const std::shared_ptr<const DecodedSound> tone = loud_tone(format);
    const std::size_t period_bytes = kPeriodFrames * kChannels * (SDL_AUDIO_BITSIZE(format) / 8);
    const std::size_t periods_per_tone = tone->bytes.size() / period_bytes;
    std::vector<uint8_t> buffer(period_bytes);
    uint64_t request = 0;
    std::size_t rendered = periods_per_tone;
    double busy_ns = 0;

    for (auto _ : state) {
        if (rendered >= periods_per_tone) {
            state.PauseTiming();
            for (std::size_t v = 0; v < SoundMixer::kVoices; ++v) {
                output.hand_over(++request, tone, SoundHandOver::Mode::kOverlap);
            }
            rendered = 0;
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        output.render(buffer.data(), buffer.size());
        busy_ns += double(std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count());
        benchmark::DoNotOptimize(buffer.data());
        ++rendered;
    }
    const double period_ns = 1e9 * double(kPeriodFrames) / kRate;
    state.counters["period_share_pct"] = 100.0 * busy_ns / (double(state.iterations()) * period_ns);
    state.counters["period_ms"] = period_ns / 1e6;
}
BENCHMARK(BM_EightVoicesPerPeriod)
    ->ArgName("format")
    ->Arg(AUDIO_S16SYS)
    ->Arg(AUDIO_F32SYS)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tiltophon
