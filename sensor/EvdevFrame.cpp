// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "EvdevFrame.h"

namespace tiltophon::sensor {

namespace {

// The library's frame: lying still screen up reads Z = -1000; dipping the right edge
// raises X; dipping the top edge (tilting forward) lowers Y. A controller held "like a
// phone" lies flat, buttons up, with the edge away from the player (triggers, pointer
// end) as the top edge; a laptop's top edge is its hinge. Every accelerometer below
// reports the push it feels: +1 g on its up axis when lying flat.
//
// Each row comes from the axis convention its driver documents or implements:
// - hid-playstation and hid-sony (DualSense, DualShock 4, Sixaxis) report the
//   controller's own sensor frame, which hid-sony turns the Sixaxis' axes into as well:
//   X to the right, Y up out of the buttons, Z towards the player. Flat it reads +1 g
//   on Y; the right edge dipped reads X < 0; the top edge dipped reads Z > 0.
//   DS_ACC_RES_PER_G, 8192 units per g, is what both drivers give their newer pads.
// - hid-nintendo states its frame in its report parser: "X: positive is pointing
//   toward the triggers, Y: positive is pointing to the left, Z: positive is pointing
//   up (out of the buttons/sticks)", the right Joy-Con's axes turned to match.
//   JC_IMU_ACCEL_RES_PER_G is 4096.
// - hid-wiimote passes the remote's raw 10-bit readings on, centred on 0x200, on
//   ABS_RX..ABS_RZ and without a resolution. The remote's frame is X to the left, Y
//   towards the pointer end, Z up out of the buttons; its factory calibration puts
//   about 100 counts between 0 g and 1 g.
// - lis3lv02d documents a "standard organisation of the axes" in mg: horizontal gives
//   a positive Z, the left side raised gives X > 0, the front (touchpad) raised gives
//   Y < 0. Its resolution is 0; the unit is 1000 per g.
// - hdaps gives the lid's tilt on ABS_X and ABS_Y only, in the same organisation as
//   lis3lv02d (both serve as tilt joysticks), within -256..256 and without a unit: its
//   range is taken as 1 g either way. Without a Z axis it cannot tell a swing along Z;
//   Z stays at rest, so swings along X and Y still pass the detectors' Z gate.
// A driver not in the table gets the frame of IIO phone sensors: X to the right edge,
// Y to the top edge, Z out of the screen.
constexpr DriverFrame kFrames[] = {
    {"playstation", {{{0, -1}, {2, -1}, {1, -1}}}, 8192},
    {"sony", {{{0, -1}, {2, -1}, {1, -1}}}, 8192},
    {"nintendo", {{{1, +1}, {0, +1}, {2, -1}}}, 4096},
    {"wiimote", {{{0, +1}, {1, +1}, {2, -1}}}, 100, true},
    {"lis3lv02d", {{{0, +1}, {1, +1}, {2, -1}}}, 1000},
    {"hdaps", {{{0, +1}, {1, +1}, {2, -1}}}, 256, false, true},
};
constexpr DriverFrame kPhoneFrame{"", {{{0, -1}, {1, +1}, {2, -1}}}, 0};

std::string_view without_hid_prefix(std::string_view driver) {
    if (driver.starts_with("hid-") || driver.starts_with("hid_")) driver.remove_prefix(4);
    return driver;
}

// Units per g of one axis: its own resolution, else the driver's, else its range taken
// as -2 g..2 g. Nothing when none of these is there.
std::optional<double> units_per_g(const AxisRange& axis, int32_t fallback) {
    if (axis.resolution > 0) return axis.resolution;
    if (fallback > 0) return fallback;
    if (axis.maximum > axis.minimum) {
        return (static_cast<double>(axis.maximum) - axis.minimum) / 4.0;
    }
    return std::nullopt;
}

// "lis3lv02d_i2c" and "lis3lv02d_spi" are the same sensor on other buses.
bool names_driver(std::string_view name, std::string_view driver) {
    return name == driver || (name.starts_with(driver) && name[driver.size()] == '_');
}

}  // namespace

const DriverFrame& driver_frame(std::string_view driver) {
    driver = without_hid_prefix(driver);
    for (const DriverFrame& frame : kFrames) {
        if (names_driver(driver, frame.driver)) return frame;
    }
    return kPhoneFrame;
}

std::span<const DriverFrame> known_driver_frames() {
    return kFrames;
}

std::optional<EvdevScale> EvdevScale::make(const DriverFrame& frame,
                                           const std::array<AxisRange, 3>& axes) {
    std::array<double, 3> units{1.0, 1.0, 1.0};
    for (int i = 0; i < (frame.no_z_axis ? 2 : 3); ++i) {
        auto per_g = units_per_g(axes[i], frame.fallback_resolution);
        if (!per_g) return std::nullopt;
        units[i] = *per_g;
    }
    return EvdevScale(frame, units);
}

Reading EvdevScale::convert(const std::array<int32_t, 3>& raw) const {
    std::array<double, 3> g{};
    for (int i = 0; i < 3; ++i) g[i] = raw[i] / units_per_g_[i];
    if (frame_->no_z_axis) g[2] = -frame_->sources[2].sign * 1.0;
    std::array<int16_t, 3> out{};
    for (int i = 0; i < 3; ++i) {
        const DriverFrame::Source& source = frame_->sources[i];
        out[i] = clamp_to_int16(source.sign * g[source.axis] * 1000.0);
    }
    return Reading{out[0], out[1], out[2]};
}

}  // namespace tiltophon::sensor
