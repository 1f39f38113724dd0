// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tiltophon {

// One reading as the sensor library leaves it. The program reads X, Y and Z only; the
// library may use the remaining bytes as it likes.
struct SampleRecord {
    int16_t x = 0;
    int16_t y = 0;
    int16_t z = 0;
    uint8_t reserved[14] = {};
};
static_assert(sizeof(SampleRecord) == 20);
static_assert(offsetof(SampleRecord, x) == 0 && offsetof(SampleRecord, y) == 2 &&
              offsetof(SampleRecord, z) == 4);

// An opened sensor as the library names it: an opaque 32-bit value.
using SensorHandle = uint32_t;

// The library's three entry points, plain C functions.
extern "C" {
typedef SensorHandle (*SensorOpenEntry)(uint32_t kind);
typedef void (*SensorCloseEntry)(SensorHandle handle);
typedef int (*SensorReadEntry)(SensorHandle handle, void* record);
}

inline constexpr std::string_view kSensorLibraryName = "libHTCSensorSDK.so";
inline constexpr uint32_t kAccelerometerKind = 1;

// The accelerometer as the program reaches it: a library loaded by name whose three
// entry points are looked up at start-up. When the library or an entry point is
// missing the binding stays unusable, reads leave the records as they are, and the
// program runs without motion detection.
//
// `load` runs once, on the loader thread, before any detector exists; everything else
// runs on the main thread.
class SensorBinding {
public:
    SensorBinding() = default;
    SensorBinding(const SensorBinding&) = delete;
    SensorBinding& operator=(const SensorBinding&) = delete;

    // Loads the library, finds the entry points and opens sensor `kind`. 1 when the
    // sensor was opened, 0 when the library or any entry point is missing. The handle
    // the library gives back is used as it is.
    int load(uint32_t kind);
    // Fills X, Y and Z of `record` from the sensor and returns the library's result;
    // 0 and the record untouched when there is nothing to read from.
    int read(SampleRecord* record);
    // Ends the use of the sensor; always 1. Later reads and closes do nothing, so a
    // late timer tick never reaches a closed handle.
    int close();

    SensorHandle sensor_handle() const { return sensor_handle_; }

private:
    SensorHandle sensor_handle_ = 0;
    SensorOpenEntry open_entry_ = nullptr;
    SensorCloseEntry close_entry_ = nullptr;
    SensorReadEntry read_entry_ = nullptr;
};

}  // namespace tiltophon
