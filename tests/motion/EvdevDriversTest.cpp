// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "motion/FakeSensor.h"
#include "motion/InputEvents.h"
#include "motion/MotionDetector.h"
#include "motion/MotionPolling.h"
#include "motion/MotionSetup.h"
#include "motion/Sensitivity.h"
#include "platform/headless/HeadlessDevices.h"
#include "program/HeadlessPlatform.h"
#include "sensor/EvdevDevice.h"

namespace tiltophon {
namespace {

using evdev_test::EventPipe;
using evdev_test::Recording;

// The sensor library's read entry over one input-event device, as the real library
// reads it: whatever has arrived, without waiting.
sensor::EvdevDevice* g_device = nullptr;

SensorHandle open_entry(uint32_t) {
    return 1;
}
void close_entry(SensorHandle) {}
int read_entry(SensorHandle, void* record) {
    g_device->pump();
    sensor::Reading r = g_device->reading();
    std::memcpy(static_cast<char*>(record) + 0, &r.x, 2);
    std::memcpy(static_cast<char*>(record) + 2, &r.y, 2);
    std::memcpy(static_cast<char*>(record) + 4, &r.z, 2);
    return 1;
}

// Each driver's recording of a controller (or laptop) held like a phone and swung every
// way, played into a pipe one report per 50 ms, through the real detectors at
// sensitivity 5 on the virtual clock.
class EvdevDriversTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EvdevDriversTest, ARecordedSwingGivesTheCodeOfItsDirection) {
    std::string path =
        std::string(TILTOPHON_SOURCE_DIR) + "/tests/fixtures/evdev/" + GetParam() + ".events";
    std::optional<Recording> recording = evdev_test::load_recording(path);
    ASSERT_TRUE(recording) << path;
    ASSERT_EQ(recording->driver, GetParam());
    ASSERT_FALSE(recording->reports.empty());

    EventPipe pipe;
    auto axes = recording->axes;
    auto device =
        sensor::EvdevDevice::open(pipe.take_reader(), sensor::driver_frame(recording->driver),
                                  [&axes](uint16_t code) -> std::optional<sensor::AxisRange> {
                                      auto found = axes.find(code);
                                      if (found == axes.end()) return std::nullopt;
                                      return found->second;
                                  });
    ASSERT_TRUE(device);
    g_device = device.get();

    HeadlessPlatform headless;
    headless.libraries.add_library(
        std::string(kSensorLibraryName),
        {{"HTCSensorOpen", reinterpret_cast<void*>(&open_entry)},
         {"HTCSensorClose", reinterpret_cast<void*>(&close_entry)},
         {"HTCSensorGetDataOutput", reinterpret_cast<void*>(&read_entry)}});
    motion_messages().clear();
    app().main_window = headless.windows.create_window(u"C", u"T", record_motion);
    ASSERT_EQ(init_sensor_binding(), 1);
    create_motion_detectors();
    for (MotionDetector* d : {app().detector_x, app().detector_y, app().detector_z}) {
        apply_sensitivity(*d, 5);
    }

    pipe.write(recording->reports[0]);
    start_motion();
    for (size_t i = 1; i < recording->reports.size(); ++i) {
        pipe.write(recording->reports[i]);
        headless.windows.advance(50);
    }
    stop_motion();
    g_device = nullptr;

    std::vector<MotionCode> expected;
    for (int code : recording->expected_codes) expected.push_back(static_cast<MotionCode>(code));
    EXPECT_EQ(take_motion_codes(), expected);
}

INSTANTIATE_TEST_SUITE_P(Drivers, EvdevDriversTest,
                         ::testing::Values("playstation", "sony", "nintendo", "wiimote",
                                           "lis3lv02d", "hdaps"));

TEST(EvdevDriversTableTest, EveryKnownDriverHasARecording) {
    for (const sensor::DriverFrame& frame : sensor::known_driver_frames()) {
        std::string path = std::string(TILTOPHON_SOURCE_DIR) + "/tests/fixtures/evdev/" +
                           std::string(frame.driver) + ".events";
        EXPECT_TRUE(evdev_test::load_recording(path)) << path;
    }
}

}  // namespace
}  // namespace tiltophon
