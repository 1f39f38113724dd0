// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

#include "motion/DetectorModel.h"
#include "motion/FakeSensor.h"
#include "motion/MotionDetector.h"
#include "motion/Sensitivity.h"
#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

struct Posted {
    int at;  // index of the sample that posted
    MotionCode code;
    friend bool operator==(const Posted&, const Posted&) = default;
};

void PrintTo(const Posted& p, std::ostream* out) {
    *out << "{sample " << p.at << ", code " << static_cast<int>(p.code) << "}";
}

std::vector<SampleRecord> along_x(std::initializer_list<int16_t> xs, int16_t z = -500) {
    std::vector<SampleRecord> records;
    for (int16_t x : xs) records.push_back(reading(x, 0, z));
    return records;
}

std::vector<SampleRecord> along_y(std::initializer_list<int16_t> ys, int16_t z = -500) {
    std::vector<SampleRecord> records;
    for (int16_t y : ys) records.push_back(reading(0, y, z));
    return records;
}

std::vector<SampleRecord> along_z(std::initializer_list<int16_t> zs) {
    std::vector<SampleRecord> records;
    for (int16_t z : zs) records.push_back(reading(0, 0, z));
    return records;
}

std::vector<SampleRecord> joined(std::vector<SampleRecord> a, const std::vector<SampleRecord>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class MotionDetectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        motion_messages().clear();
        fake_sensor::install(headless.libraries);
        binding.load(kAccelerometerKind);
        window = headless.windows.create_window(u"C", u"T", record_motion);
    }

    std::unique_ptr<MotionDetector> make(char axis) {
        if (axis == 'x') return std::make_unique<MotionDetectorX>(window, &binding, kMotionMessage);
        if (axis == 'y') return std::make_unique<MotionDetectorY>(window, &binding, kMotionMessage);
        return std::make_unique<MotionDetectorZ>(window, &binding, kMotionMessage);
    }

    // Samples once per reading and lists what was posted, with the sample that posted it.
    std::vector<Posted> run(MotionDetector& detector, const std::vector<SampleRecord>& readings,
                            int first_index = 0) {
        std::vector<Posted> posted;
        for (size_t i = 0; i < readings.size(); ++i) {
            fake_sensor::set_reading(readings[i].x, readings[i].y, readings[i].z);
            detector.sample();
            headless.windows.pump();
            for (const Message& m : motion_messages()) {
                EXPECT_EQ(m.lparam, 0);
                posted.push_back(
                    {first_index + static_cast<int>(i), static_cast<MotionCode>(m.wparam)});
            }
            motion_messages().clear();
        }
        return posted;
    }

    HeadlessPlatform headless;
    SensorBinding binding;
    Window* window = nullptr;
};

struct Thresholds {
    int16_t start = 100;
    int16_t peak = 700;
    int16_t cross = -200;
};

struct SwingCase {
    const char* name;
    char axis;
    std::vector<SampleRecord> readings;
    std::vector<Posted> expected;
    Thresholds thresholds = {};
};

TEST_F(MotionDetectorTest, JudgesEachSwingOnceByItsPeakAndTheSignWhenItStopsRising) {
    using enum MotionCode;
    const SwingCase cases[] = {
        {"right", 'x', along_x({0, 150, 900, 800}), {{3, kXPositive}}},
        {"left", 'x', along_x({0, -150, -900, -800}), {{3, kXNegative}}},
        {"back", 'y', along_y({0, 150, 900, 800}), {{3, kYPositive}}},
        {"forward", 'y', along_y({0, -150, -900, -800}), {{3, kYNegative}}},
        {"vertical, Z below rest", 'z', along_z({-1000, -1500, -1900, -1850}), {{3, kZ}}},
        {"vertical, Z above the cross limit", 'z', along_z({1000, 1500, 1900, 1850}), {}},
        {"swing ends before it is judged", 'x', along_x({0, 150, 900, 50}), {}},
        {"a magnitude of exactly the start threshold ends the swing",
         'x',
         along_x({900, 100, 800, 700}),
         {{3, kXPositive}}},
        {"a peak of exactly the threshold waits, then grows past it",
         'x',
         along_x({150, 700, 600, 750, 740}),
         {{4, kXPositive}}},
        {"a sample level with the peak has stopped rising",
         'x',
         along_x({150, 900, 900, 800}),
         {{2, kXPositive}}},
        {"the sign is taken when judging, not at the peak",
         'x',
         along_x({150, 900, -800}),
         {{2, kXNegative}}},
        {"a spent swing that rises again stays quiet",
         'x',
         along_x({150, 900, 800, 1200, 1100}),
         {{2, kXPositive}}},
        {"two swings apart post twice",
         'x',
         along_x({150, 900, 800, 100, 150, 900, 800}),
         {{2, kXPositive}, {6, kXPositive}}},
        {"Z at the cross limit blocks, just below lets through",
         'x',
         joined(along_x({150, 900, 800, 0}, -200), along_x({150, 900, 800}, -201)),
         {{6, kXPositive}}},
        // With Z above the limit the swing is spent: no message until it has ended.
        {"a refused swing stays spent until it ends",
         'x',
         joined(along_x({0, 150, 900, 800, 800, 950, 800}, 0), along_x({100, 150, 900, 800})),
         {{10, kXPositive}}},
        {"a full-scale negative reading wraps and never arms",
         'x',
         along_x({-32768, -32768, -32768}),
         {}},
        {"a reading of exactly 0 when judged has no direction",
         'x',
         along_x({900, 0, 900, 800}),
         {},
         {-1, 700, -200}},
        {"construction thresholds: peak must exceed 750",
         'x',
         along_x({200, 750, 700}, -301),
         {},
         {200, 750, -300}},
        {"construction thresholds: 760 fires with Z below -300",
         'x',
         along_x({760, 700}, -301),
         {{1, kXPositive}},
         {200, 750, -300}},
    };
    for (const SwingCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto detector = make(c.axis);
        detector->set_start_threshold(c.thresholds.start)
            .set_peak_threshold(c.thresholds.peak)
            .set_cross_limit(c.thresholds.cross);
        detector->start();
        EXPECT_EQ(run(*detector, c.readings), c.expected);
    }
}

TEST_F(MotionDetectorTest, StopSuspendsASwingAndStartResumesItWhereItWas) {
    auto detector = make('x');
    apply_sensitivity(*detector, 5);
    detector->sample();  // not started yet
    EXPECT_EQ(fake_sensor::calls().reads, 0);
    detector->start();
    EXPECT_EQ(fake_sensor::calls().reads, 1);
    EXPECT_TRUE(run(*detector, along_x({150, 900})).empty());

    detector->stop();
    int reads = fake_sensor::calls().reads;
    EXPECT_TRUE(run(*detector, along_x({0, 0, 0})).empty());
    EXPECT_EQ(fake_sensor::calls().reads, reads);

    // The swing is still armed with its peak of 900: the next lower sample judges it.
    fake_sensor::set_reading(800, 0, -500);
    detector->start();
    EXPECT_EQ(run(*detector, along_x({800})), (std::vector<Posted>{{0, MotionCode::kXPositive}}));
}

// The model's magnitudes at the values the rules spell out, and at the ends of the
// 16-bit range, where -32768 has no positive counterpart.
TEST(DetectorModelTest, MagnitudesFollowTheRulesAtTheirEdges) {
    EXPECT_EQ(DetectorModel::axis_magnitude(0), 0);
    EXPECT_EQ(DetectorModel::axis_magnitude(-150), 150);
    EXPECT_EQ(DetectorModel::axis_magnitude(900), 900);
    EXPECT_EQ(DetectorModel::axis_magnitude(32767), 32767);
    EXPECT_EQ(DetectorModel::axis_magnitude(-32767), 32767);
    EXPECT_EQ(DetectorModel::axis_magnitude(-32768), -32768);
    EXPECT_EQ(DetectorModel::vertical_magnitude(-1000), 0);
    EXPECT_EQ(DetectorModel::vertical_magnitude(-1900), 900);
    EXPECT_EQ(DetectorModel::vertical_magnitude(1850), 850);
    EXPECT_EQ(DetectorModel::vertical_magnitude(0), -1000);
    EXPECT_EQ(DetectorModel::vertical_magnitude(-32768), 31768);
    EXPECT_EQ(DetectorModel::vertical_magnitude(32767), 31767);
}

// One random reading for a detector of `axis`: a walk with bursts along its axis, with
// now and then a return to zero or the most negative reading, and Z anywhere around
// rest for the X and Y detectors.
class RandomReadings {
public:
    RandomReadings(std::mt19937& random, DetectorModel::Axis axis) : random_(random), axis_(axis) {}

    SampleRecord next() {
        int step = static_cast<int>(random_() % 801) - 400;
        if (random_() % 10 == 0) step *= 8;
        value_ = std::clamp(value_ + step, -32768, 32767);
        if (random_() % 15 == 0) value_ = 0;
        if (random_() % 200 == 0) value_ = -32768;
        const auto z = static_cast<int16_t>(static_cast<int>(random_() % 3001) - 2000);
        const auto v = static_cast<int16_t>(value_);
        switch (axis_) {
            case DetectorModel::Axis::kX:
                return reading(v, 0, z);
            case DetectorModel::Axis::kY:
                return reading(0, v, z);
            case DetectorModel::Axis::kZ:
                break;
        }
        return reading(0, 0, v);
    }

private:
    std::mt19937& random_;
    DetectorModel::Axis axis_;
    int value_ = 0;
};

// Random walks of readings, with detection switched off and on and the sensitivity
// changed on the way: each detector posts exactly what the model of its rules posts,
// sample by sample. Every swing the model judges posts its code once; nothing else is
// posted.
TEST_F(MotionDetectorTest, RandomReadingsPostExactlyWhatTheRulesSay) {
    std::mt19937 random(20240611);
    int judged = 0;
    for (int round = 0; round < 600; ++round) {
        const auto axis = static_cast<DetectorModel::Axis>(round % 3);
        auto detector = make("xyz"[round % 3]);
        DetectorModel model(axis);
        // 0 and 11 lie outside the settings' range.
        auto tune = [&] {
            const int sensitivity = static_cast<int>(random() % 12);
            apply_sensitivity(*detector, sensitivity);
            model.apply_sensitivity(sensitivity);
        };
        tune();
        detector->start();
        model.start();

        RandomReadings readings(random, axis);
        for (int i = 0; i < 300; ++i) {
            switch (random() % 50) {
                case 0:
                    detector->stop();
                    model.stop();
                    break;
                case 1:
                    detector->start();
                    model.start();
                    break;
                case 2:
                    tune();
                    break;
                default:
                    break;
            }
            const SampleRecord r = readings.next();
            fake_sensor::set_reading(r.x, r.y, r.z);
            detector->sample();
            headless.windows.pump();
            const std::optional<MotionCode> expected = model.sample(r);
            std::vector<MotionCode> wanted;
            if (expected) wanted.push_back(*expected);
            ASSERT_EQ(take_motion_codes(), wanted)
                << "round " << round << ", sample " << i << ": reading " << r.x << " " << r.y << " "
                << r.z;
            judged += expected.has_value();
        }
    }
    EXPECT_GT(judged, 2000) << "the walks do swing";
}

}  // namespace
}  // namespace tiltophon
