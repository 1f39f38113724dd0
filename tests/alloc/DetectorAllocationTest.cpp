// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A detector's polling step runs twenty times a second on the main thread for as long
// as motion detection is on, so it must not touch the heap.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "alloc/CountingAllocator.h"
#include "motion/FakeSensor.h"
#include "motion/MotionDetector.h"
#include "motion/Sensitivity.h"
#include "platform/headless/PostCountingWindow.h"
#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

class DetectorAllocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_sensor::install(headless.libraries);
        binding.load(kAccelerometerKind);
    }

    // One swing each way on every axis, judged and posted, then back to rest.
    static std::vector<SampleRecord> swings() {
        std::vector<SampleRecord> trace;
        for (int16_t sign : {1, -1}) {
            for (int16_t level : {0, 150, 900, 800, 50}) {
                const auto v = static_cast<int16_t>(sign * level);
                trace.push_back(reading(v, v, static_cast<int16_t>(-1000 - level)));
            }
        }
        return trace;
    }

    HeadlessPlatform headless;
    SensorBinding binding;
    // Posting to it allocates nothing, so whatever the step allocates is its own.
    PostCountingWindow window;
};

// The count itself must see what the code allocates, or the test below proves nothing.
TEST_F(DetectorAllocationTest, TheCountSeesAnAllocation) {
    AllocationCount allocations;
    auto box = std::make_unique<int>(7);
    volatile int seen = *box;
    (void)seen;
    EXPECT_EQ(allocations.count(), 1);
}

TEST_F(DetectorAllocationTest, SamplingStartingAndStoppingAllocateNothing) {
    MotionDetectorX x(&window, &binding, kMotionMessage);
    MotionDetectorY y(&window, &binding, kMotionMessage);
    MotionDetectorZ z(&window, &binding, kMotionMessage);
    const std::array<MotionDetector*, 3> detectors{&x, &y, &z};
    for (MotionDetector* detector : detectors) apply_sensitivity(*detector, 5);
    const std::vector<SampleRecord> trace = swings();

    AllocationCount allocations;
    for (int round = 0; round < 3; ++round) {
        for (MotionDetector* detector : detectors) detector->start();
        for (const SampleRecord& r : trace) {
            fake_sensor::set_reading(r.x, r.y, r.z);
            for (MotionDetector* detector : detectors) detector->sample();
        }
        for (MotionDetector* detector : detectors) detector->stop();
    }
    const long allocated = allocations.count();

    EXPECT_EQ(allocated, 0) << "the detectors allocated while sampling";
    // The steps that post were among those counted: each direction once per round, and
    // Z, which has none, at both swings.
    for (int code = 1; code <= 4; ++code) EXPECT_EQ(window.by_first[code], 3) << "code " << code;
    EXPECT_EQ(window.by_first[5], 6);
}

}  // namespace
}  // namespace tiltophon
