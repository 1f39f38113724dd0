// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One polling step of a motion detector. That the step allocates nothing is checked by
// the detectors' allocation test.

#include <benchmark/benchmark.h>

#include <vector>

#include "motion/MotionDetector.h"
#include "motion/Sensitivity.h"
#include "platform/headless/PostCountingWindow.h"
#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

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
    PostCountingWindow window;
    MotionDetectorX detector(&window, &binding, kMotionMessage);
    apply_sensitivity(detector, 5);
    detector.start();

    for (auto _ : state) detector.sample();
    state.counters["posted"] = static_cast<double>(window.posted);
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
