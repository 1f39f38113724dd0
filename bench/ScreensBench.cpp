// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pages, a composed transition frame and the whole start-up, on the default skin
// and sounds of the build's program folder, at 480 x 640 and 192 dpi. A page must
// paint far inside the 11 ms between two animation ticks.

#include <benchmark/benchmark.h>

#include <memory>

#include "app/AppState.h"
#include "platform/Text.h"
#include "program/HeadlessProgram.h"
#include "screens/FramePainter.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Draw.h"
#include "vavurud/Panel.h"

namespace tiltophon {
namespace {

std::u16string program_folder() {
    return utf16_from_utf8(TILTOPHON_PROGRAM_DIR "/");
}

// The program started with a sound in every slot, then brought to one page.
std::unique_ptr<HeadlessProgram> started_program() {
    auto program = std::make_unique<HeadlessProgram>(program_folder());
    const char16_t* folders[] = {u"Drums", u"Bells", u"Synth", u"Voices", u"Drums"};
    const char16_t* names[] = {u"Kick.wav", u"Chime.wav", u"Zap.wav", u"Oh.wav", u"Snare.wav"};
    for (int n = 1; n <= 5; ++n) {
        std::u16string slot = u"SoundSlot" + std::u16string(1, char16_t(u'0' + n));
        program->store(slot + u"Folder", folders[n - 1]);
        program->store(slot + u"Name", names[n - 1]);
    }
    program->start();
    return program;
}

enum Page { kHome, kSounds, kSettings, kAbout, kPick };

void go_to(HeadlessProgram& program, int page) {
    auto tap = [&](int32_t x, int32_t y) {
        program.tap(x, y);
        program.settle();
    };
    if (page == kSounds || page == kPick) tap(240, 590);
    if (page == kSettings || page == kAbout) tap(400, 590);
    if (page == kAbout) tap(402, 26);
    if (page == kPick) tap(230, 196);
}

// One paint of the page as the paint handling does it: black, then the root Panel.
void BM_PaintPage(benchmark::State& state) {
    auto program = started_program();
    go_to(*program, static_cast<int>(state.range(0)));
    AppState& s = app();
    const Rect screen{0, 0, 480, 640};
    for (auto _ : state) {
        fill_rect(s.frame_buffer, screen, 0x000000);
        s.root_panel->paint(s.frame_buffer);
        benchmark::DoNotOptimize(s.frame_buffer.data());
    }
}
BENCHMARK(BM_PaintPage)
    ->ArgName("page")
    ->Arg(kHome)
    ->Arg(kSounds)
    ->Arg(kSettings)
    ->Arg(kAbout)
    ->Arg(kPick)
    ->Unit(benchmark::kMicrosecond);

// One frame of a running transition: two full-screen copies, or a copy and a blend.
void BM_ComposeTransitionFrame(benchmark::State& state) {
    Bitmap outgoing(480, 640, 0xFF203040u);
    Bitmap incoming(480, 640, 0xFF806040u);
    Bitmap frame(480, 640);
    auto kind = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        compose_transition(frame, outgoing, incoming, kind, 0.5, 480, 640);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_ComposeTransitionFrame)
    ->ArgName("kind")
    ->Arg(int32_t(Transition::PushLeft))
    ->Arg(int32_t(Transition::CoverDown))
    ->Arg(int32_t(Transition::FadeIn))
    ->Arg(int32_t(Transition::BoxOpen))
    ->Unit(benchmark::kMicrosecond);

// Everything the start-up does, from the window's creation to the Home page on
// screen: sensor binding, settings, skin, sound bank, slots, detectors, every
// control, the data and settings put into them and the first paint. The loader's
// pauses pass on the virtual clock and cost nothing here.
void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto program = std::make_unique<HeadlessProgram>(program_folder());
        state.ResumeTiming();
        bool started = program->start();
        benchmark::DoNotOptimize(started);
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tiltophon
