// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tiltophon {

// Where the kernel and udev describe the devices; tests put trees of their own there.
struct HapticRoots {
    std::string sys_class_input = "/sys/class/input";
    std::string dev_input = "/dev/input";
    std::string udev_data = "/run/udev/data";
    std::string iio_devices = "/sys/bus/iio/devices";
};

// An input-event device that can vibrate, and why it was chosen.
struct HapticDevice {
    std::string path;  // "/dev/input/event3"
    std::string name;  // as the kernel names the device
    std::string why;
};

// The phone's vibration motor: the event device that udev marks as the platform's
// vibrator (ID_PATH=platform-vibrator) or feedbackd's (FEEDBACKD_TYPE=vibra), or whose
// name says vibrator, with rumble or periodic force feedback.
std::optional<HapticDevice> find_vibration_motor(const HapticRoots& roots);

// The rumble of the game controller the motion comes from: when `sensor_setting` (the
// TILTOPHON_SENSOR value) makes the sensor library read an input-event accelerometer,
// the event device of the same controller that has rumble (its gamepad node).
std::optional<HapticDevice> find_controller_rumble(const HapticRoots& roots,
                                                   std::string_view sensor_setting);

}  // namespace tiltophon
