// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One polling step of a motion detector, and proof that it allocates nothing.
//
// This file replaces the global operator new of the benchmark binary with a counting
// one; no other benchmark may replace it again.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "Allocations.h"
#include "motion/MotionDetector.h"
#include "motion/Sensitivity.h"
#include "program/HeadlessPlatform.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

long allocations_so_far() {
    return g_allocations.load(std::memory_order_relaxed);
}

// Kept out of line: inlined, the compiler would pair the malloc and free it sees
// with the new and delete expressions around them and warn of a mismatch.
__attribute__((noinline)) void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept {
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace tiltophon {
namespace {

// A window that only counts what is posted to it, so the step is measured alone.
class CountingWindow : public Window {
public:
    void post_message(uint32_t, WParam, LParam) override { ++posted; }
    LResult send_message(uint32_t, WParam, LParam) override { return 0; }
    LResult default_proc(uint32_t, WParam, LParam) override { return 0; }
    void set_timer(uint32_t, uint32_t, TimerRoutine) override {}
    void kill_timer(uint32_t) override {}
    void invalidate(const Rect*, bool) override {}
    void update() override {}
    void present(const Bitmap&) override {}
    void show(ShowCommand) override {}
    void raise() override {}
    void set_full_screen(bool) override {}
    Rect client_rect() const override { return {}; }
    long posted = 0;
};

std::vector<SampleRecord> g_trace;
size_t g_next = 0;

int trace_read(SensorHandle, void* record) {
    *static_cast<SampleRecord*>(record) = g_trace[g_next];
    if (++g_next == g_trace.size()) g_next = 0;
    return 1;
}
SensorHandle trace_open(uint32_t) {
    return 1;
}
void trace_close(SensorHandle) {}

SampleRecord at(int16_t x, int16_t z) {
    SampleRecord r;
    r.x = x;
    r.z = z;
    return r;
}

void run(benchmark::State& state, std::vector<SampleRecord> trace) {
    HeadlessPlatform headless;
    headless.libraries.add_library(
        std::string(kSensorLibraryName),
        {{"HTCSensorOpen", reinterpret_cast<void*>(&trace_open)},
         {"HTCSensorClose", reinterpret_cast<void*>(&trace_close)},
         {"HTCSensorGetDataOutput", reinterpret_cast<void*>(&trace_read)}});
    SensorBinding binding;
    binding.load(kAccelerometerKind);
    g_trace = std::move(trace);
    g_next = 0;
    CountingWindow window;
    MotionDetectorX detector(&window, &binding, kMotionMessage);
    apply_sensitivity(detector, 5);
    detector.start();

    long before = g_allocations.load();
    for (auto _ : state) detector.sample();
    long allocations = g_allocations.load() - before;

    state.counters["allocations"] = static_cast<double>(allocations);
    state.counters["posted"] = static_cast<double>(window.posted);
    if (allocations != 0) state.SkipWithError("sampling allocated memory");
}

void BM_MotionDetectorSampleAtRest(benchmark::State& state) {
    run(state, {at(0, -1000), at(12, -990), at(-8, -1010)});
}
BENCHMARK(BM_MotionDetectorSampleAtRest);

// Swings back and forth: every branch of the step, one message per swing.
void BM_MotionDetectorSampleSwinging(benchmark::State& state) {
    run(state, {at(0, -1000), at(300, -1000), at(900, -1000), at(800, -1000), at(50, -1000),
                at(-400, -1000), at(-1000, -1000), at(-700, -1000), at(0, -1000)});
}
BENCHMARK(BM_MotionDetectorSampleSwinging);

}  // namespace
}  // namespace tiltophon
