// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "motion/FakeSensor.h"
#include "motion/MotionDetector.h"
#include "motion/Sensitivity.h"
#include "program/HeadlessPlatform.h"
#include "swing/SwingProfile.h"

namespace tiltophon {
namespace {

// What the three detectors post for a run of samples at one sensitivity.
class SwingProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_sensor::install(headless.libraries);
        binding.load(kAccelerometerKind);
        window = headless.windows.create_window(u"C", u"T", record_motion);
    }

    std::vector<MotionCode> detect(const std::vector<swing::Sample>& samples, int sensitivity) {
        motion_messages().clear();
        MotionDetectorX x(window, &binding, kMotionMessage);
        MotionDetectorY y(window, &binding, kMotionMessage);
        MotionDetectorZ z(window, &binding, kMotionMessage);
        MotionDetector* detectors[] = {&x, &y, &z};
        fake_sensor::set_reading(swing::kRest.x, swing::kRest.y, swing::kRest.z);
        for (MotionDetector* d : detectors) {
            apply_sensitivity(*d, sensitivity);
            d->start();
        }
        for (const swing::Sample& s : samples) {
            fake_sensor::set_reading(s.x, s.y, s.z);
            for (MotionDetector* d : detectors) d->sample();
        }
        headless.windows.pump();
        return take_motion_codes();
    }

    HeadlessPlatform headless;
    SensorBinding binding;
    Window* window = nullptr;
};

struct MoveCase {
    swing::Move move;
    MotionCode code;
};

constexpr MoveCase kMoves[] = {
    {swing::Move::kForward, MotionCode::kYNegative},
    {swing::Move::kBack, MotionCode::kYPositive},
    {swing::Move::kLeft, MotionCode::kXNegative},
    {swing::Move::kRight, MotionCode::kXPositive},
    {swing::Move::kUp, MotionCode::kZ},
    {swing::Move::kDown, MotionCode::kZ},
};

// The detectors poll on their own timer, so now and then they see a line twice and
// miss the next one. Each variant misses a different line.
std::vector<std::vector<swing::Sample>> with_each_line_missed(std::vector<swing::Sample> samples) {
    std::vector<std::vector<swing::Sample>> variants{samples};
    for (size_t i = 1; i < samples.size(); ++i) {
        std::vector<swing::Sample> missed = samples;
        missed[i] = missed[i - 1];
        variants.push_back(missed);
    }
    return variants;
}

TEST_F(SwingProfileTest, TheDefaultSwingFiresItsCodeOnceAtEverySensitivity) {
    for (const MoveCase& m : kMoves) {
        for (int sensitivity = 1; sensitivity <= 10; ++sensitivity) {
            auto samples = swing::swing_samples(m.move, 1500, static_cast<uint32_t>(sensitivity));
            for (const auto& variant : with_each_line_missed(samples)) {
                ASSERT_EQ(detect(variant, sensitivity), std::vector<MotionCode>{m.code})
                    << "move " << static_cast<int>(m.move) << ", sensitivity " << sensitivity;
            }
        }
    }
}

TEST_F(SwingProfileTest, AGentleSwingFiresOnlyWhereTheSensitivityAllows) {
    for (const MoveCase& m : kMoves) {
        auto samples = swing::swing_samples(m.move, 900);
        EXPECT_EQ(detect(samples, 5), std::vector<MotionCode>{m.code});
        EXPECT_TRUE(detect(samples, 1).empty());
    }
}

TEST_F(SwingProfileTest, RestIsQuietAndSwingsStartAndEndAtRest) {
    EXPECT_TRUE(detect(swing::rest_samples(100), 10).empty());
    for (const MoveCase& m : kMoves) {
        auto samples = swing::swing_samples(m.move, swing::kMaxPeak);
        for (const auto* s : {&samples.front(), &samples.back()}) {
            EXPECT_LT(std::abs(s->x), 100);
            EXPECT_LT(std::abs(s->y), 100);
            EXPECT_LT(std::abs(s->z + 1000), 100);
        }
        // Even the hardest swing stays one gesture.
        EXPECT_EQ(detect(samples, 10), std::vector<MotionCode>{m.code});
    }
    EXPECT_EQ(swing::parse_move("down"), swing::Move::kDown);
    EXPECT_FALSE(swing::parse_move("Down"));
}

}  // namespace
}  // namespace tiltophon
