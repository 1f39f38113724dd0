// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "EvdevFrame.h"
#include "EventStream.h"
#include "Reading.h"

namespace tiltophon::sensor {

// An open input-event accelerometer. It reads its file descriptor without ever waiting
// and asks for its axes' ranges and current values through `AxisQuery` (the EVIOCGABS
// request on a real device; anything a test likes on a pipe).
class EvdevDevice {
public:
    using AxisQuery = std::function<std::optional<AxisRange>(uint16_t code)>;

    // How much one `pump` takes at most, so a device that floods events cannot hold
    // the reader; the kernel reports what it then drops with SYN_DROPPED.
    static constexpr size_t kMaxBytesPerPump = 64 * 1024;

    // Takes `fd` (made non-blocking here). Nothing, with `fd` closed, when an axis
    // cannot be scaled.
    static std::unique_ptr<EvdevDevice> open(int fd, const DriverFrame& frame, AxisQuery query);
    ~EvdevDevice();
    EvdevDevice(const EvdevDevice&) = delete;
    EvdevDevice& operator=(const EvdevDevice&) = delete;

    // Takes what has arrived. False once the device is gone (unplugged: ENODEV, or
    // the end of the stream); it then stays gone.
    bool pump();
    // The last complete report, in the library's units and frame.
    Reading reading() const { return scale_.convert(stream_.axes()); }

private:
    EvdevDevice(int fd, const DriverFrame& frame, AxisQuery query, EvdevScale scale,
                const std::array<int32_t, 3>& start);
    void resync();

    int fd_;
    const DriverFrame& frame_;
    AxisQuery query_;
    EvdevScale scale_;
    EventStream stream_;
    bool gone_ = false;
};

// The event codes of a driver's three accelerometer axes.
std::array<uint16_t, 3> accelerometer_codes(const DriverFrame& frame);

}  // namespace tiltophon::sensor
