// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>
#include <vector>

#include "EvdevDevice.h"

namespace tiltophon::sensor {

// Where the kernel describes its input devices and where their device files are; tests
// put a tree of their own in place.
struct InputRoots {
    std::string sys_class_input = "/sys/class/input";
    std::string dev_input = "/dev/input";
};

// One input-event device as sysfs describes it.
struct InputDeviceInfo {
    std::string event;     // "event7"
    std::string dev_path;  // "/dev/input/event7"
    std::string name;      // "Sony Interactive Entertainment Wireless Controller Motion Sensors"
    std::string driver;    // "playstation", "lis3lv02d"; empty when unknown
};

// The accelerometers among the input devices, in the order of their numbers: devices
// with the accelerometer property, or with X, Y and Z axes and no keys (how udev tells
// an accelerometer), and the known drivers' accelerometers that have neither (the Wii
// remote's, hdaps). Reading sysfs only; nothing is opened.
std::vector<InputDeviceInfo> find_input_accelerometers(const InputRoots& roots);

// What sysfs says of the device file `path` (a link is followed); only the path when
// sysfs knows nothing of it.
InputDeviceInfo describe_input_device(const InputRoots& roots, const std::string& path);

// A device name or path as it may be shown in a message: control characters become '?'.
std::string printable(std::string text);

// Opening a device: the device, or why not (an errno value).
struct OpenedInput {
    std::unique_ptr<EvdevDevice> device;
    int error = 0;
};

// Opens a real input-event device file, without waiting, and asks the kernel for its
// axes. Anything but a character device is refused (ENOTTY), and so is one that
// answers no axis request.
OpenedInput open_input_device(const InputDeviceInfo& info);

}  // namespace tiltophon::sensor
