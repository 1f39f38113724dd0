// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pages, a composed transition frame and the whole start-up, on the default skin
// and sounds of the build's program folder, at 192 dpi: on the handset's 480 x 640
// screen and on 480 x 1040, the logical screen of a 1080 x 2340 phone. Paints and
// frames are measured against memcpy of the frame: a transition frame should take at
// most 3 times as long, a page paint at most 10 times.

#include <benchmark/benchmark.h>

#include <memory>

#include "app/AppState.h"
#include "platform/Text.h"
#include "program/HeadlessProgram.h"
#include "screens/FramePainter.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Draw.h"
#include "vavurud/Panel.h"

namespace tiltophon {
namespace {

std::u16string program_folder() {
    return utf16_from_utf8(TILTOPHON_PROGRAM_DIR "/");
}

constexpr int32_t kWidth = 480;
constexpr int32_t kHandsetHeight = 640;
constexpr int32_t kPhoneHeight = 1040;

// Tells the report which memcpy a benchmark is measured against: the one of the frame.
void set_frame_bytes(benchmark::State& state, int32_t width, int32_t height) {
    state.counters["frame_bytes"] = 4.0 * width * height;
}

// The program on a screen `height` pixels high, started with a sound in every slot.
std::unique_ptr<HeadlessProgram> started_program(int32_t height) {
    auto program = std::make_unique<HeadlessProgram>(program_folder(),
                                                     ScreenInfo{kWidth, height, 192, 192});
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

// Brings the program to a page by tapping its controls, wherever the screen's
// layout put them. False when the page did not come up.
bool go_to(HeadlessProgram& program, int page) {
    AppState& s = app();
    auto tap = [&](const Control* control) {
        program.tap(control);
        program.settle();
    };
    if (page == kSounds || page == kPick) tap(s.sounds_tab);
    if (page == kSettings || page == kAbout) tap(s.settings_tab);
    if (page == kAbout) tap(s.about_button);
    if (page == kPick) tap(s.sound_rows[2]);
    const Panel* pages[] = {s.home_page, s.sounds_page, s.settings_page, s.about_page, s.pick_page};
    return pages[page] && pages[page]->is_visible();
}

// One paint of the page as the paint handling does it: black, then the root Panel.
void BM_PaintPage(benchmark::State& state) {
    const auto height = static_cast<int32_t>(state.range(0));
    auto program = started_program(height);
    if (!go_to(*program, static_cast<int>(state.range(1)))) {
        state.SkipWithError("the page did not come up");
        return;
    }
    AppState& s = app();
    const Rect screen{0, 0, kWidth, height};
    for (auto _ : state) {
        fill_rect(s.frame_buffer, screen, 0x000000);
        s.root_panel->paint(s.frame_buffer);
        benchmark::DoNotOptimize(s.frame_buffer.data());
    }
    set_frame_bytes(state, kWidth, height);
}
BENCHMARK(BM_PaintPage)
    ->ArgNames({"height", "page"})
    ->ArgsProduct({{kHandsetHeight, kPhoneHeight}, {kHome, kSounds, kSettings, kAbout, kPick}})
    ->Unit(benchmark::kMicrosecond);

// One frame of a running transition, half-way: copies of whole or partial pictures,
// or a copy and a blend.
void BM_ComposeTransitionFrame(benchmark::State& state) {
    const auto height = static_cast<int32_t>(state.range(0));
    Bitmap outgoing(kWidth, height, 0xFF203040u);
    Bitmap incoming(kWidth, height, 0xFF806040u);
    Bitmap frame(kWidth, height);
    const auto kind = static_cast<int32_t>(state.range(1));
    for (auto _ : state) {
        compose_transition(frame, outgoing, incoming, kind, 0.5, kWidth, height);
        benchmark::DoNotOptimize(frame.data());
    }
    set_frame_bytes(state, kWidth, height);
}
BENCHMARK(BM_ComposeTransitionFrame)
    ->ArgNames({"height", "kind"})
    ->ArgsProduct({{kHandsetHeight, kPhoneHeight},
                   benchmark::CreateDenseRange(int32_t(Transition::PushLeft),
                                               int32_t(Transition::BoxClose), 1)})
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
