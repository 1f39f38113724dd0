// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string_view>

#include "SensorSource.h"

namespace tiltophon::sensor {

// Makes the source a setting names (the TILTOPHON_SENSOR variable):
//   "" or "iio"    the first IIO accelerometer (zeros when there is none);
//   "replay:FILE"  a recorded trace, paced by `pace` (TILTOPHON_SENSOR_PACE, see
//                  parse_replay_pace);
//   "fifo:PATH"    lines written into a named pipe.
// Nothing for an unknown setting, a bad pace, or a trace that cannot be read.
std::unique_ptr<SensorSource> make_source(std::string_view setting, std::string_view pace);

}  // namespace tiltophon::sensor
