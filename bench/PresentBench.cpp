// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Presenting a finished frame on a 1080 x 2340 phone: the 480 x 1040 logical screen
// scaled 2.25 times, with linear filtering, through SDL's software renderer into a
// window of the display's size (on SDL's dummy video driver, whose window memory is
// plain memory), upright and on a display the shell has turned sideways. Measured
// against memcpy of the 1080 x 2340 frame's bytes; its goal is ten times that.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

#include "platform/Bitmap.h"
#include "platform/sdl/SdlFramePresenter.h"

namespace tiltophon {
namespace {

constexpr int32_t kDisplayWidth = 1080;
constexpr int32_t kDisplayHeight = 2340;
constexpr int64_t kDisplayBytes = int64_t{kDisplayWidth} * kDisplayHeight * 4;

// `quarter_turns` 1: the shell has turned the display sideways, so the window is
// landscape and the frame is turned back before it is scaled.
void present_phone_frame(benchmark::State& state, int32_t quarter_turns) {
    const bool sideways = quarter_turns % 2 == 1;
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, sideways ? kDisplayHeight : kDisplayWidth,
                                          sideways ? kDisplayWidth : kDisplayHeight, 0);
    SDL_Renderer* renderer =
        window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    if (!renderer) {
        state.SkipWithError(SDL_GetError());
        if (window) SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return;
    }
    {
        SdlFramePresenter presenter(window, renderer, 480, 1040);
        presenter.set_quarter_turns(quarter_turns);
        Bitmap frame(480, 1040);
        std::mt19937 random(11);
        for (int32_t y = 0; y < frame.height(); ++y) {
            for (int32_t x = 0; x < frame.width(); ++x) {
                frame.set_pixel(x, y, 0xFF000000u | (random() & 0xFFFFFF));
            }
        }
        for (auto _ : state) presenter.present(frame);
        state.SetBytesProcessed(state.iterations() * kDisplayBytes);
        // Measured against BM_Memcpy of the display's bytes.
        state.counters["frame_bytes"] = static_cast<double>(kDisplayBytes);
    }
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
void BM_PresentPhoneFrame(benchmark::State& state) {
    present_phone_frame(state, 0);
}
void BM_PresentPhoneFrameTurned(benchmark::State& state) {
    present_phone_frame(state, 1);
}

BENCHMARK(BM_PresentPhoneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentPhoneFrameTurned)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tiltophon
