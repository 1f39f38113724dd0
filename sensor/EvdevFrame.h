// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "Reading.h"

namespace tiltophon::sensor {

// What an input-event device tells about one absolute axis (its absinfo).
struct AxisRange {
    int32_t value = 0;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t resolution = 0;  // units per g on an accelerometer; 0 when the driver gives none
};

// How a kernel driver's accelerometer axes lie in the controller or laptop, and which of
// its axes the library's X, Y and Z come from.
struct DriverFrame {
    // One of the library's axes: the device axis (0 X, 1 Y, 2 Z) it is read from, and
    // the sign it takes.
    struct Source {
        uint8_t axis;
        int8_t sign;
    };

    std::string_view driver;  // as the driver is named in sysfs ("playstation", "lis3lv02d")
    std::array<Source, 3> sources;
    // Units per g where the absinfo resolution is 0.
    int32_t fallback_resolution;
    // The axes the accelerometer reports on: ABS_X..ABS_Z, or ABS_RX..ABS_RZ (Wii remote).
    bool rotational_axes = false;
    // Only X and Y (hdaps): Z reads as at rest.
    bool no_z_axis = false;
};

// The frame of a driver by its sysfs name, with or without "hid-" or "hid_" before it
// or a bus after it ("lis3lv02d_i2c"); a driver not in the table gets the frame IIO
// phone sensors use.
const DriverFrame& driver_frame(std::string_view driver);

// The drivers the library knows, for tests and the diagnostic tool.
std::span<const DriverFrame> known_driver_frames();

// Turns raw axis values into the library's readings for one device.
class EvdevScale {
public:
    // Nothing when an axis has neither a resolution nor a usable range.
    static std::optional<EvdevScale> make(const DriverFrame& frame,
                                          const std::array<AxisRange, 3>& axes);

    Reading convert(const std::array<int32_t, 3>& raw) const;

private:
    EvdevScale(const DriverFrame& frame, const std::array<double, 3>& units_per_g)
        : frame_(&frame), units_per_g_(units_per_g) {}

    const DriverFrame* frame_;
    std::array<double, 3> units_per_g_;
};

}  // namespace tiltophon::sensor
