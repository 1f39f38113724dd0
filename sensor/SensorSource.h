// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Reading.h"

namespace tiltophon::sensor {

// Where an opened sensor's readings come from. One thread at a time calls `read`.
class SensorSource {
public:
    virtual ~SensorSource() = default;
    // The current reading. A source that has nothing (yet) gives its last reading, or
    // zeros before the first.
    virtual Reading read() = 0;
};

}  // namespace tiltophon::sensor
