// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "motion/FakeSensor.h"
#include "motion/SensorBinding.h"
#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

// Remembers what the binding asked of the loader, in order.
class RecordingLoader : public FakeLibraryLoader {
public:
    void* load_library(std::string_view name) override {
        asked.emplace_back(name);
        return FakeLibraryLoader::load_library(name);
    }
    void* find_symbol(void* library, std::string_view name) override {
        asked.emplace_back(name);
        return FakeLibraryLoader::find_symbol(library, name);
    }
    std::vector<std::string> asked;
};

class SensorBindingTest : public ::testing::Test {
protected:
    void use(RecordingLoader& loader) {
        headless.services().libraries = &loader;
        install_platform(headless.services());
    }
    HeadlessPlatform headless;
    SensorBinding binding;
};

TEST_F(SensorBindingTest, OpensTheAccelerometerAndUsesItsHandleThroughout) {
    RecordingLoader loader;
    use(loader);
    fake_sensor::install(loader);

    EXPECT_EQ(binding.load(kAccelerometerKind), 1);
    EXPECT_EQ(loader.asked, (std::vector<std::string>{"libHTCSensorSDK.so", "HTCSensorOpen",
                                                      "HTCSensorClose", "HTCSensorGetDataOutput"}));
    EXPECT_EQ(fake_sensor::calls().open_kind, 1u);
    EXPECT_EQ(binding.sensor_handle(), fake_sensor::kHandle);

    fake_sensor::set_reading(-500, 0, 1200);
    SampleRecord record;
    EXPECT_EQ(binding.read(&record), 1);
    EXPECT_EQ(fake_sensor::calls().read_handle, fake_sensor::kHandle);
    // Whatever the library writes behind Z does not disturb X, Y and Z.
    EXPECT_EQ(record.x, -500);
    EXPECT_EQ(record.y, 0);
    EXPECT_EQ(record.z, 1200);

    EXPECT_EQ(binding.close(), 1);
    EXPECT_EQ(fake_sensor::calls().closed_handle, fake_sensor::kHandle);
}

TEST_F(SensorBindingTest, AClosedSensorIsNeitherReadNorClosedAgain) {
    fake_sensor::install(headless.libraries);
    ASSERT_EQ(binding.load(kAccelerometerKind), 1);
    binding.close();

    SampleRecord record = reading(7, 8, 9);
    EXPECT_EQ(binding.read(&record), 0);
    EXPECT_EQ(binding.close(), 1);
    EXPECT_EQ(fake_sensor::calls().reads, 0);
    EXPECT_EQ(fake_sensor::calls().closes, 1);
    EXPECT_EQ(record.x, 7);
}

TEST_F(SensorBindingTest, WithoutTheLibraryNothingIsOpenedAndRecordsStayAsTheyWere) {
    EXPECT_EQ(binding.load(kAccelerometerKind), 0);
    EXPECT_EQ(binding.sensor_handle(), 0u);

    SampleRecord record = reading(3, -4, 5);
    EXPECT_EQ(binding.read(&record), 0);
    EXPECT_EQ(record.x, 3);
    EXPECT_EQ(record.y, -4);
    EXPECT_EQ(record.z, 5);
    EXPECT_EQ(binding.close(), 1);
}

TEST_F(SensorBindingTest, AMissingEntryPointLeavesTheSensorClosedButKeepsTheOthers) {
    struct Case {
        const char* name;
        fake_sensor::Entries entries;
    };
    const Case cases[] = {
        {"no close", {.open = true, .close = false, .read = true}},
        {"no open", {.open = false, .close = true, .read = true}},
        {"no read", {.open = true, .close = true, .read = false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_sensor::install(headless.libraries, c.entries);
        SensorBinding unusable;

        EXPECT_EQ(unusable.load(kAccelerometerKind), 0);
        EXPECT_EQ(fake_sensor::calls().opens, 0);
        EXPECT_EQ(unusable.sensor_handle(), 0u);

        fake_sensor::set_reading(-500, 0, 1200);
        SampleRecord record;
        EXPECT_EQ(unusable.read(&record), c.entries.read ? 1 : 0);
        if (c.entries.read) {
            // The read entry is still used, with the handle that was never opened.
            EXPECT_EQ(fake_sensor::calls().read_handle, 0u);
            EXPECT_EQ(record.x, -500);
            EXPECT_EQ(record.z, 1200);
        } else {
            EXPECT_EQ(record.x, 0);
        }

        EXPECT_EQ(unusable.close(), 1);
        EXPECT_EQ(fake_sensor::calls().closes, c.entries.close ? 1 : 0);
    }
}

}  // namespace
}  // namespace tiltophon
