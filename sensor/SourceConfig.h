// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "IioSource.h"
#include "InputDevices.h"
#include "SensorSource.h"

namespace tiltophon::sensor {

// Where the sources look for devices; tests put trees of their own in place.
struct DeviceRoots {
    std::string iio = IioSource::kDevicesRoot;
    InputRoots input;
};

// Makes the source a setting names (the TILTOPHON_SENSOR variable):
//   "" or "auto"   the first IIO accelerometer, else the first input-event accelerometer
//                  (found later when there is none yet);
//   "iio"          the first IIO accelerometer (zeros when there is none);
//   "evdev"        the first input-event accelerometer;
//   "evdev:PATH"   the input-event device PATH;
//   "replay:FILE"  a recorded trace, paced by `pace` (TILTOPHON_SENSOR_PACE, see
//                  parse_replay_pace);
//   "fifo:PATH"    lines written into a named pipe.
// Nothing for an unknown setting, a bad pace, or a trace that cannot be read.
std::unique_ptr<SensorSource> make_source(std::string_view setting, std::string_view pace,
                                          const DeviceRoots& roots = {});

}  // namespace tiltophon::sensor
