// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any stream of sensor readings (a flaky accelerometer, a replay file, another
// program writing into the fifo), with detection switched on and off and thresholds
// changed on the way, must make each detector post exactly what its rules say: every
// swing they judge posts its code once, and nothing else is ever posted. The rules are
// the detector model the unit tests use, fed the same readings and switches.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "Require.h"
#include "motion/DetectorModel.h"
#include "motion/MotionDetector.h"
#include "motion/MotionMessage.h"
#include "motion/Sensitivity.h"
#include "motion/SensorBinding.h"
#include "program/HeadlessPlatform.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

std::deque<SampleRecord> g_readings;
int g_reads = 0;
std::vector<MotionCode> g_posted;

SensorHandle sensor_open(uint32_t) {
    return 1;
}
void sensor_close(SensorHandle) {}
int sensor_read(SensorHandle, void* record) {
    SampleRecord reading;
    if (!g_readings.empty()) {
        reading = g_readings.front();
        g_readings.pop_front();
    }
    std::memcpy(record, &reading, sizeof reading);
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

using Axis = DetectorModel::Axis;

// The detector's posts in one step against the model's: the same code once, or nothing.
void compare(const std::optional<MotionCode>& expected, const std::vector<MotionCode>& posted) {
    if (expected) {
        require(!posted.empty(), "a swing the rules judge posts its code");
        require(posted.size() == 1, "a judged swing posts once");
        require(posted.front() == *expected, "a judged swing posts the code of its direction");
    } else {
        require(posted.empty(), "nothing is posted where the rules post nothing");
    }
}

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
    std::array<DetectorModel, 3> models{DetectorModel(Axis::kX), DetectorModel(Axis::kY),
                                        DetectorModel(Axis::kZ)};
    for (auto& detector : detectors) apply_sensitivity(*detector, 5);
    for (auto& model : models) model.apply_sensitivity(5);

    while (input.remaining_bytes() > 0) {
        const auto axis = input.ConsumeIntegralInRange<std::size_t>(0, 2);
        MotionDetector& detector = *detectors[axis];
        DetectorModel& model = models[axis];
        switch (input.ConsumeIntegralInRange(0, 15)) {
            case 0:
                detector.stop();
                model.stop();
                break;
            case 1:
                g_readings.push_back(reading_from(input));
                detector.start();
                model.start();
                g_readings.clear();
                break;
            case 2: {
                const auto sensitivity = input.ConsumeIntegral<int32_t>();
                apply_sensitivity(detector, sensitivity);
                model.apply_sensitivity(sensitivity);
                break;
            }
            case 3: {
                const auto value = input.ConsumeIntegral<int16_t>();
                detector.set_start_threshold(value);
                model.set_start_threshold(value);
                break;
            }
            case 4: {
                const auto value = input.ConsumeIntegral<int16_t>();
                detector.set_peak_threshold(value);
                model.set_peak_threshold(value);
                break;
            }
            case 5: {
                const auto value = input.ConsumeIntegral<int16_t>();
                detector.set_cross_limit(value);
                model.set_cross_limit(value);
                break;
            }
            default: {
                const SampleRecord reading = reading_from(input);
                g_readings.push_back(reading);
                const int reads_before = g_reads;
                detector.sample();
                g_readings.clear();
                setup.headless.windows.pump();
                require((g_reads != reads_before) == model.running(),
                        "a detector reads the sensor exactly while it runs");
                compare(model.sample(reading), g_posted);
                g_posted.clear();
                break;
            }
        }
    }
    return 0;
}
