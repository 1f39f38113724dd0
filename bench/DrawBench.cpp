// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "app/AppResources.h"
#include "app/SplashScreen.h"
#include "platform/Text.h"
#include "program/HeadlessPlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "settings/Skin.h"
#include "vavurud/Draw.h"
#include "vavurud/Raster.h"

namespace tiltophon {
namespace {

constexpr int32_t kWidth = 480;
constexpr int32_t kHeight = 640;
constexpr int64_t kFrameBytes = int64_t{kWidth} * kHeight * 4;

// Tells the report which memcpy a benchmark is measured against: the one of the same
// bytes.
void set_frame_bytes(benchmark::State& state, int64_t bytes) {
    state.counters["frame_bytes"] = static_cast<double>(bytes);
}

Bitmap noise(int32_t width, int32_t height) {
    Bitmap bitmap(width, height);
    std::mt19937 random(7);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) bitmap.set_pixel(x, y, 0xFF000000u | (random() & 0xFFFFFF));
    }
    return bitmap;
}

// What every full-screen primitive, page paint and transition frame is measured
// against: copying the same bytes. The handset's screen, the logical screen of a
// 1080 x 2340 phone, and that phone's display.
void BM_Memcpy(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0));
    const auto height = static_cast<int32_t>(state.range(1));
    const int64_t bytes = int64_t{width} * height * 4;
    Bitmap source = noise(width, height);
    Bitmap target(width, height);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), static_cast<std::size_t>(bytes));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    set_frame_bytes(state, bytes);
}
BENCHMARK(BM_Memcpy)
    ->ArgNames({"width", "height"})
    ->Args({kWidth, kHeight})
    ->Args({480, 1040})
    ->Args({1080, 2340});

void BM_BlitCentredFullScreen(benchmark::State& state) {
    Bitmap image = noise(kWidth, kHeight);
    Bitmap target(kWidth, kHeight);
    for (auto _ : state) {
        blit_centered(target, target.bounds(), &image);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
    set_frame_bytes(state, kFrameBytes);
}
BENCHMARK(BM_BlitCentredFullScreen);

void BM_BlitStretchedFullScreen(benchmark::State& state) {
    Bitmap image = noise(kWidth / 2 + 3, kHeight / 2 + 5);
    Bitmap target(kWidth, kHeight);
    for (auto _ : state) {
        blit_stretched(target, target.bounds(), &image);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
    set_frame_bytes(state, kFrameBytes);
}
BENCHMARK(BM_BlitStretchedFullScreen);

void BM_AlphaBlendFullScreen(benchmark::State& state) {
    Bitmap source = noise(kWidth, kHeight);
    Bitmap target = noise(kWidth, kHeight);
    for (auto _ : state) {
        alpha_blend_same(target, 0, 0, kWidth, kHeight, source, 128);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
    set_frame_bytes(state, kFrameBytes);
}
BENCHMARK(BM_AlphaBlendFullScreen);

// Each of the blend's row loops that this machine runs, as a fade frame at 480 x 1040
// uses them: two pictures blended into a third.
void BM_BlendRowLoop(benchmark::State& state, raster::BlendRow row) {
    constexpr int32_t kPhoneHeight = 1040;
    const Bitmap below = noise(kWidth, kPhoneHeight);
    const Bitmap above = noise(kWidth, kPhoneHeight);
    Bitmap frame(kWidth, kPhoneHeight);
    for (auto _ : state) {
        for (int32_t y = 0; y < kPhoneHeight; ++y) {
            row(frame.row(y), below.row(y), above.row(y), kWidth, 128);
        }
        benchmark::DoNotOptimize(frame.data());
    }
    set_frame_bytes(state, int64_t{kWidth} * kPhoneHeight * 4);
}
const bool kBlendRowLoopsRegistered = [] {
    for (const raster::BlendRowPath& path : raster::blend_row_paths()) {
        benchmark::RegisterBenchmark((std::string("BM_BlendRowLoop/") + path.name).c_str(),
                                     BM_BlendRowLoop, path.row);
    }
    return true;
}();

void BM_GradientFullScreen(benchmark::State& state) {
    Bitmap target(kWidth, kHeight);
    const uint32_t mode = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        gradient_fill(target, 0, 0, kWidth, kHeight, 0x11D4FE, 0x005C70, mode);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
    set_frame_bytes(state, kFrameBytes);
}
BENCHMARK(BM_GradientFullScreen)->Arg(kGradientHorizontal)->Arg(kGradientVertical);

void BM_SplashPaint(benchmark::State& state) {
    HeadlessPlatform headless;
    AppResources resources(utf16_from_utf8(TILTOPHON_PROGRAM_DIR "/"));
    resources.load();
    SplashScreen splash;
    splash.set_background(resources.splash_bitmap);
    splash.set_step(u"Apply VavurUD Data...", 80);
    Bitmap frame(kWidth, kHeight);
    for (auto _ : state) {
        splash.paint_to(frame, frame.bounds(), 255);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_SplashPaint)->Unit(benchmark::kMicrosecond);

void BM_LoadDefaultSkin(benchmark::State& state) {
    HeadlessPlatform headless;
    PosixFileSystem files;
    headless.services().files = &files;
    install_platform(headless.services());
    const std::u16string folder = utf16_from_utf8(TILTOPHON_PROGRAM_DIR "/Skin/");
    for (auto _ : state) {
        Skin skin;
        skin.Load(folder, folder + u"Skin.txt");
        if (!skin.Pic_BottomBar) state.SkipWithError("the default skin has not been built");
        skin.Release();
    }
}
BENCHMARK(BM_LoadDefaultSkin)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tiltophon
