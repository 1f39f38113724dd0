// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "motion/FakeSensor.h"
#include "motion/MotionDetector.h"
#include "motion/MotionPolling.h"
#include "motion/MotionSetup.h"
#include "motion/PipeWriter.h"
#include "motion/Sensitivity.h"
#include "motion/TempFolder.h"
#include "program/HeadlessPlatform.h"
#include "platform/posix/DlLibraryLoader.h"
#include "swing/SwingProfile.h"

namespace tiltophon {
namespace {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { unsetenv(name_); }

private:
    const char* name_;
};

// The sensor library built next to the program, loaded as the program loads it.
class SensorLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless.services().libraries = &loader;
        install_platform(headless.services());
        library = loader.load_library(kSensorLibraryName);
        ASSERT_NE(library, nullptr) << "not built into " << TILTOPHON_PROGRAM_DIR;
        open = reinterpret_cast<SensorOpenEntry>(loader.find_symbol(library, "HTCSensorOpen"));
        close = reinterpret_cast<SensorCloseEntry>(loader.find_symbol(library, "HTCSensorClose"));
        read = reinterpret_cast<SensorReadEntry>(
            loader.find_symbol(library, "HTCSensorGetDataOutput"));
        ASSERT_TRUE(open && close && read);
    }

    std::string trace_of(const std::vector<swing::Sample>& samples) {
        std::string text = "# recorded swing\n";
        for (const swing::Sample& s : samples) {
            text +=
                std::to_string(s.x) + " " + std::to_string(s.y) + " " + std::to_string(s.z) + "\n";
        }
        return folder.write("trace.txt", text);
    }

    HeadlessPlatform headless;
    DlLibraryLoader loader{TILTOPHON_PROGRAM_DIR};
    TempFolder folder;
    void* library = nullptr;
    SensorOpenEntry open = nullptr;
    SensorCloseEntry close = nullptr;
    SensorReadEntry read = nullptr;
};

TEST_F(SensorLibraryTest, AReplayedSwingReachesTheMainWindowAsItsCode) {
    std::vector<swing::Sample> samples = swing::swing_samples(swing::Move::kBack, 1000);
    ScopedEnvironment sensor("TILTOPHON_SENSOR", "replay:" + trace_of(samples));
    // Three detectors read once each per period: one trace line per period.
    ScopedEnvironment pace("TILTOPHON_SENSOR_PACE", "reads:3");
    motion_messages().clear();
    app().main_window = headless.windows.create_window(u"C", u"T", record_motion);

    ASSERT_EQ(init_sensor_binding(), 1);
    EXPECT_NE(app().sensor->sensor_handle(), 0u);
    create_motion_detectors();
    for (MotionDetector* d : {app().detector_x, app().detector_y, app().detector_z}) {
        apply_sensitivity(*d, 5);
    }
    start_motion();
    headless.windows.advance(static_cast<uint32_t>(50 * (samples.size() - 1)));
    stop_motion();
    app().sensor->close();

    EXPECT_EQ(take_motion_codes(), std::vector<MotionCode>{MotionCode::kYPositive});
}

TEST_F(SensorLibraryTest, HandlesAreNeverZeroAndAClosedOneReadsZeros) {
    ScopedEnvironment sensor("TILTOPHON_SENSOR",
                             "replay:" + folder.write("t.txt", "-500 0 1200\n"));
    EXPECT_EQ(open(2), 0u);  // only the accelerometer

    SensorHandle first = open(kAccelerometerKind);
    SensorHandle second = open(kAccelerometerKind);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);

    SampleRecord record;
    std::memset(record.reserved, 0x5A, sizeof record.reserved);
    EXPECT_EQ(read(first, &record), 1);
    EXPECT_EQ(record.x, -500);
    EXPECT_EQ(record.y, 0);
    EXPECT_EQ(record.z, 1200);
    for (uint8_t byte : record.reserved) EXPECT_EQ(byte, 0x5A);

    close(first);
    EXPECT_EQ(read(first, &record), 0);
    EXPECT_EQ(record.x, 0);
    EXPECT_EQ(record.z, 0);
    EXPECT_EQ(read(0, &record), 0);
    EXPECT_EQ(read(second, nullptr), 0);

    SensorHandle third = open(kAccelerometerKind);
    EXPECT_NE(third, first);  // a stale handle does not come back at once
    EXPECT_EQ(read(first, &record), 0);
    close(second);
    close(third);
}

TEST_F(SensorLibraryTest, ReadsWhatAnotherProgramWritesIntoThePipe) {
    std::string path = folder.file("sensor");
    ScopedEnvironment sensor("TILTOPHON_SENSOR", "fifo:" + path);
    SensorHandle handle = open(kAccelerometerKind);
    ASSERT_NE(handle, 0u);

    PipeWriter writer(path);
    ASSERT_TRUE(writer.ok());
    writer.write("3 -4 -1000\n");
    SampleRecord record;
    EXPECT_EQ(read(handle, &record), 1);
    EXPECT_EQ(record.x, 3);
    EXPECT_EQ(record.y, -4);
    EXPECT_EQ(record.z, -1000);
    close(handle);
}

TEST_F(SensorLibraryTest, AnInputDeviceThatCannotBeReadGivesRestAndIsNamedOnce) {
    // A named device that is a pipe, not an input device: the sensor opens, reads as at
    // rest, and the library says once why.
    std::string path = folder.file("event7");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    ScopedEnvironment sensor("TILTOPHON_SENSOR", "evdev:" + path);
    testing::internal::CaptureStderr();
    SensorHandle handle = open(kAccelerometerKind);
    ASSERT_NE(handle, 0u);
    SampleRecord record;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read(handle, &record), 1);
        EXPECT_EQ(record.x, 0);
        EXPECT_EQ(record.y, 0);
        EXPECT_EQ(record.z, -1000);
    }
    close(handle);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(path), std::string::npos) << said;
    EXPECT_EQ(said.find(path), said.rfind(path)) << said;

    // Unset, the library chooses by itself and always opens.
    unsetenv("TILTOPHON_SENSOR");
    handle = open(kAccelerometerKind);
    EXPECT_NE(handle, 0u);
    close(handle);
}

// The library serialises its calls: a sensor opened and closed on one thread while
// another reads through handles old and new never tears a reading.
using SensorLibraryThreadsTest = SensorLibraryTest;

TEST_F(SensorLibraryThreadsTest, OpeningAndClosingWhileAnotherThreadReads) {
    ScopedEnvironment sensor("TILTOPHON_SENSOR",
                             "replay:" + folder.write("t.txt", "1 2 3\n4 5 6\n"));
    ScopedEnvironment pace("TILTOPHON_SENSOR_PACE", "reads:1");
    std::atomic<SensorHandle> current{open(kAccelerometerKind)};
    std::atomic<bool> done{false};
    std::thread reader([&] {
        SampleRecord record;
        while (!done.load()) {
            if (read(current.load(), &record) == 1) {
                ASSERT_TRUE((record.x == 1 && record.y == 2 && record.z == 3) ||
                            (record.x == 4 && record.y == 5 && record.z == 6));
            } else {
                ASSERT_EQ(record.x, 0);
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        SensorHandle next = open(kAccelerometerKind);
        close(current.exchange(next));
    }
    done = true;
    reader.join();
    close(current.load());
}

}  // namespace
}  // namespace tiltophon
