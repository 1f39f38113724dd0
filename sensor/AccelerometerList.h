// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "SourceConfig.h"

namespace tiltophon::sensor {

// One accelerometer as tiltophon-sensor lists it.
struct ListedAccelerometer {
    std::string source;  // "iio" or "evdev"
    std::string name;
    std::string path;
    std::string driver;  // evdev only
    bool readable = false;
    std::string why_not;  // when not readable
    std::string advice;   // what the user can do about it, when there is something
};

// Every accelerometer the library could read, in the order `auto` tries them: IIO
// first, then input-event devices. Each is opened once to see whether it can be read.
std::vector<ListedAccelerometer> list_accelerometers(const DeviceRoots& roots = {});

}  // namespace tiltophon::sensor
