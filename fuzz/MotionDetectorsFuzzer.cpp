// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any stream of sensor readings (a flaky accelerometer, a replay file, another
// program writing into the fifo), with detection switched on and off and thresholds
// changed on the way, must never make a detector report a swing twice. A swing runs
// from the sample that lifts the magnitude above the start threshold to the sample
// that brings it back to the threshold or below; each detector's swings are tracked
// here from the readings alone.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "Require.h"
#include "motion/MotionDetector.h"
#include "motion/MotionMessage.h"
#include "motion/Sensitivity.h"
#include "motion/SensorBinding.h"
#include "program/HeadlessPlatform.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

std::deque<SampleRecord> g_readings;
SampleRecord g_last_read;
int g_reads = 0;
std::vector<MotionCode> g_posted;

SensorHandle sensor_open(uint32_t) {
    return 1;
}
void sensor_close(SensorHandle) {}
int sensor_read(SensorHandle, void* record) {
    g_last_read = SampleRecord{};
    if (!g_readings.empty()) {
        g_last_read = g_readings.front();
        g_readings.pop_front();
    }
    std::memcpy(record, &g_last_read, sizeof g_last_read);
    ++g_reads;
    return 1;
}

LResult record_posts(Window* window, uint32_t message, WParam first, LParam second) {
    if (message == kMotionMessage) g_posted.push_back(static_cast<MotionCode>(first));
    return window->default_proc(message, first, second);
}

struct Setup {
    HeadlessPlatform headless;
    Window* window = nullptr;
    SensorBinding binding;

    Setup() {
        headless.libraries.add_library(
            std::string(kSensorLibraryName),
            {{"HTCSensorOpen", reinterpret_cast<void*>(&sensor_open)},
             {"HTCSensorClose", reinterpret_cast<void*>(&sensor_close)},
             {"HTCSensorGetDataOutput", reinterpret_cast<void*>(&sensor_read)}});
        window = headless.windows.create_window(u"Fuzz", u"Fuzz", record_posts);
        binding.load(kAccelerometerKind);
    }
};

enum Axis { kX, kY, kZ };

// The swings of one detector, told apart by its own thresholds and the readings it got.
struct Swings {
    bool under_way = false;
    int reported = 0;

    // Follows one sample; the swing under way reports `posted` messages in it.
    void sample(Axis axis, const MotionDetector& detector, const SampleRecord& reading,
                const std::vector<MotionCode>& posted) {
        const int32_t raw = axis == kX ? reading.x : axis == kY ? reading.y : reading.z;
        const int32_t magnitude_wide = (raw < 0 ? -raw : raw) - (axis == kZ ? 1000 : 0);
        const auto magnitude = static_cast<int16_t>(magnitude_wide);
        const bool above = magnitude > detector.start_threshold();
        if (!under_way) {
            require(posted.empty(), "nothing is reported while no swing is under way");
            if (above) {
                under_way = true;
                reported = 0;
            }
            return;
        }
        if (!above) {
            require(posted.empty(), "the sample that ends a swing reports nothing");
            under_way = false;
            return;
        }
        reported += static_cast<int>(posted.size());
        require(reported <= 1, "at most one message per swing");
        for (MotionCode code : posted) {
            require(reading.z < detector.cross_limit(),
                    "a reported swing passed the cross-axis gate");
            switch (axis) {
                case kX:
                    require(
                        code == (reading.x < 0 ? MotionCode::kXNegative : MotionCode::kXPositive) &&
                            reading.x != 0,
                        "the X detector reports the sign of X");
                    break;
                case kY:
                    require(
                        code == (reading.y < 0 ? MotionCode::kYNegative : MotionCode::kYPositive) &&
                            reading.y != 0,
                        "the Y detector reports the sign of Y");
                    break;
                case kZ:
                    require(code == MotionCode::kZ, "the Z detector reports Z");
                    break;
            }
        }
    }
};

SampleRecord reading_from(FuzzedDataProvider& input) {
    SampleRecord record;
    record.x = input.ConsumeIntegral<int16_t>();
    record.y = input.ConsumeIntegral<int16_t>();
    record.z = input.ConsumeIntegral<int16_t>();
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    FuzzedDataProvider input(data, size);
    g_readings.clear();
    g_posted.clear();

    std::array<std::unique_ptr<MotionDetector>, 3> detectors{
        std::make_unique<MotionDetectorX>(setup.window, &setup.binding, kMotionMessage),
        std::make_unique<MotionDetectorY>(setup.window, &setup.binding, kMotionMessage),
        std::make_unique<MotionDetectorZ>(setup.window, &setup.binding, kMotionMessage)};
    std::array<Swings, 3> swings{};
    for (auto& detector : detectors) apply_sensitivity(*detector, 5);

    while (input.remaining_bytes() > 0) {
        const auto axis = static_cast<Axis>(input.ConsumeIntegralInRange(0, 2));
        MotionDetector& detector = *detectors[axis];
        switch (input.ConsumeIntegralInRange(0, 15)) {
            case 0:
                detector.stop();
                break;
            case 1:
                g_readings.push_back(reading_from(input));
                detector.start();
                g_readings.clear();
                break;
            case 2:
                apply_sensitivity(detector, input.ConsumeIntegral<int32_t>());
                break;
            case 3:
                detector.set_start_threshold(input.ConsumeIntegral<int16_t>());
                break;
            case 4:
                detector.set_peak_threshold(input.ConsumeIntegral<int16_t>());
                break;
            case 5:
                detector.set_cross_limit(input.ConsumeIntegral<int16_t>());
                break;
            default: {
                g_readings.push_back(reading_from(input));
                const int reads_before = g_reads;
                detector.sample();
                g_readings.clear();
                setup.headless.windows.pump();
                if (g_reads != reads_before) {
                    swings[axis].sample(axis, detector, g_last_read, g_posted);
                } else {
                    require(g_posted.empty(), "a stopped detector reports nothing");
                }
                g_posted.clear();
                break;
            }
        }
    }
    return 0;
}
