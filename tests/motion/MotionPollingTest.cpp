// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "app/AppState.h"
#include "motion/FakeSensor.h"
#include "motion/MotionDetector.h"
#include "motion/MotionPolling.h"
#include "motion/MotionSetup.h"
#include "motion/Sensitivity.h"
#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

// The loader's two motion steps with the fake sensor library in place.
class MotionPollingTest : public ::testing::Test {
protected:
    void SetUp() override {
        motion_messages().clear();
        fake_sensor::install(headless.libraries);
        app().main_window = headless.windows.create_window(u"C", u"T", record_motion);
        window = headless.windows.window();
        ASSERT_EQ(init_sensor_binding(), 1);
        create_motion_detectors();
        for (MotionDetector* d : {app().detector_x, app().detector_y, app().detector_z}) {
            apply_sensitivity(*d, 5);
        }
    }

    // A trace that begins now, one reading per 50 ms: start_motion reads its first
    // sample, the first tick the second.
    void play(std::vector<SampleRecord> trace) {
        fake_sensor::play(std::move(trace), headless.clock.tick_count_ms());
    }

    HeadlessPlatform headless;
    HeadlessWindow* window = nullptr;
};

TEST_F(MotionPollingTest, StartingPollsEachDetectorEvery50MsAndStoppingEndsIt) {
    start_motion();
    EXPECT_EQ(fake_sensor::calls().reads, 3);  // each detector's first reading
    for (uint32_t id : {1u, 2u, 3u}) {
        ASSERT_TRUE(window->has_timer(id));
        EXPECT_EQ(window->timer_period(id), 50u);
    }
    headless.windows.advance(500);
    EXPECT_EQ(fake_sensor::calls().reads, 3 + 3 * 10);

    stop_motion();
    EXPECT_FALSE(window->has_timer(1) || window->has_timer(2) || window->has_timer(3));
    headless.windows.advance(500);
    EXPECT_EQ(fake_sensor::calls().reads, 33);
}

TEST_F(MotionPollingTest, ARecordedSwingPostsTheCodeOfItsAxisAndDirection) {
    struct Case {
        const char* name;
        std::vector<SampleRecord> trace;
        MotionCode code;
    };
    const Case cases[] = {
        {"forward",
         {reading(0, 0, -1000), reading(0, -300, -1000), reading(0, -900, -1000),
          reading(0, -600, -1000), reading(0, 0, -1000)},
         MotionCode::kYNegative},
        {"right",
         {reading(0, 0, -1000), reading(400, 0, -980), reading(1000, 0, -1020),
          reading(500, 0, -1000), reading(0, 0, -1000)},
         MotionCode::kXPositive},
        {"up",
         {reading(0, 0, -1000), reading(0, 0, -1500), reading(0, 0, -1900), reading(0, 0, -1200),
          reading(0, 0, -1000)},
         MotionCode::kZ},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        motion_messages().clear();
        play(c.trace);
        start_motion();
        headless.windows.advance(1000);
        stop_motion();
        EXPECT_EQ(take_motion_codes(), std::vector<MotionCode>{c.code});
    }
}

TEST_F(MotionPollingTest, ASpentSwingStaysSpentWhenDetectionIsSwitchedOffAndOn) {
    // X climbs to 900 and stays high; it fires once.
    play(
        {reading(0, 0, -500), reading(150, 0, -500), reading(900, 0, -500), reading(800, 0, -500)});
    start_motion();
    headless.windows.advance(500);
    EXPECT_EQ(take_motion_codes(), std::vector<MotionCode>{MotionCode::kXPositive});

    stop_motion();
    start_motion();
    headless.windows.advance(500);
    EXPECT_TRUE(take_motion_codes().empty());

    // Only after the swing has ended does the next one count. (The running timers
    // read from the trace's second sample on.)
    play({reading(50, 0, -500), reading(50, 0, -500), reading(150, 0, -500), reading(900, 0, -500),
          reading(800, 0, -500)});
    headless.windows.advance(500);
    EXPECT_EQ(take_motion_codes(), std::vector<MotionCode>{MotionCode::kXPositive});
}

TEST_F(MotionPollingTest, AMissingDetectorIsSkippedEverywhere) {
    app().detector_y = nullptr;
    play({reading(0, 0, -500), reading(0, 900, -500), reading(0, 800, -500)});
    start_motion();
    EXPECT_TRUE(window->has_timer(1) && window->has_timer(3));
    EXPECT_FALSE(window->has_timer(2));
    headless.windows.advance(500);
    EXPECT_TRUE(take_motion_codes().empty());
    stop_motion();
    EXPECT_FALSE(window->has_timer(1) || window->has_timer(3));
}

TEST(MotionSetupTest, WithoutTheLibraryDetectorsExistButNeverFire) {
    HeadlessPlatform headless;
    motion_messages().clear();
    app().main_window = headless.windows.create_window(u"C", u"T", record_motion);
    EXPECT_EQ(init_sensor_binding(), 0);
    ASSERT_NE(app().sensor, nullptr);
    create_motion_detectors();
    ASSERT_NE(dynamic_cast<MotionDetectorX*>(app().detector_x), nullptr);
    ASSERT_NE(dynamic_cast<MotionDetectorY*>(app().detector_y), nullptr);
    ASSERT_NE(dynamic_cast<MotionDetectorZ*>(app().detector_z), nullptr);

    start_motion();
    headless.windows.advance(2000);
    EXPECT_TRUE(take_motion_codes().empty());
}

TEST(MotionSetupTest, NoBindingMeansNoDetectors) {
    HeadlessPlatform headless;
    create_motion_detectors();
    EXPECT_EQ(app().detector_x, nullptr);
    EXPECT_EQ(app().detector_z, nullptr);
    start_motion();  // nothing to start, nothing to crash
    stop_motion();
}

TEST(SensitivityTest, MapsOneToTenOntoPeakThresholdsAndAnythingElseTo800) {
    const std::pair<int32_t, int16_t> cases[] = {
        {1, 1100}, {3, 900}, {5, 700}, {10, 200}, {0, 800}, {11, 800}, {-1, 800}, {INT32_MIN, 800},
    };
    for (auto [sensitivity, peak] : cases) {
        EXPECT_EQ(peak_threshold_for_sensitivity(sensitivity), peak)
            << "sensitivity " << sensitivity;
    }

    MotionDetectorZ detector(nullptr, nullptr, kMotionMessage);
    apply_sensitivity(detector, 2);
    EXPECT_EQ(detector.start_threshold(), 100);
    EXPECT_EQ(detector.peak_threshold(), 1000);
    EXPECT_EQ(detector.cross_limit(), -200);
}

}  // namespace
}  // namespace tiltophon
