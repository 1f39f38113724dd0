// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "EvdevDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tiltophon::sensor {

std::array<uint16_t, 3> accelerometer_codes(const DriverFrame& frame) {
    std::array<uint16_t, 3> codes{ABS_X, ABS_Y, ABS_Z};
    if (frame.rotational_axes) codes = {ABS_RX, ABS_RY, ABS_RZ};
    if (frame.no_z_axis) codes[2] = EventStream::kNoAxis;
    return codes;
}

std::unique_ptr<EvdevDevice> EvdevDevice::open(int fd, const DriverFrame& frame, AxisQuery query) {
    std::array<uint16_t, 3> codes = accelerometer_codes(frame);
    std::array<AxisRange, 3> axes{};
    for (int i = 0; i < 3; ++i) {
        if (codes[i] == EventStream::kNoAxis) continue;
        auto axis = query ? query(codes[i]) : std::nullopt;
        if (!axis) {
            ::close(fd);
            return nullptr;
        }
        axes[i] = *axis;
    }
    auto scale = EvdevScale::make(frame, axes);
    if (!scale) {
        ::close(fd);
        return nullptr;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        ::close(fd);
        return nullptr;
    }
    std::array<int32_t, 3> start{axes[0].value, axes[1].value, axes[2].value};
    return std::unique_ptr<EvdevDevice>(
        new EvdevDevice(fd, frame, std::move(query), *scale, start));
}

EvdevDevice::EvdevDevice(int fd, const DriverFrame& frame, AxisQuery query, EvdevScale scale,
                         const std::array<int32_t, 3>& start)
    : fd_(fd),
      frame_(frame),
      query_(std::move(query)),
      scale_(scale),
      stream_(accelerometer_codes(frame), start) {}

EvdevDevice::~EvdevDevice() {
    ::close(fd_);
}

bool EvdevDevice::pump() {
    if (gone_) return false;
    // Whole events as the kernel hands them out; a pipe may cut them anywhere.
    alignas(input_event) std::byte buffer[sizeof(input_event) * 64];
    size_t taken = 0;
    while (taken < kMaxBytesPerPump) {
        ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count > 0) {
            taken += static_cast<size_t>(count);
            stream_.feed(std::span(buffer, static_cast<size_t>(count)));
            if (stream_.needs_resync()) resync();
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        // ENODEV when unplugged; the end of the stream on a pipe; anything else leaves
        // the descriptor useless as well.
        gone_ = true;
        return false;
    }
    return true;
}

void EvdevDevice::resync() {
    std::array<uint16_t, 3> codes = accelerometer_codes(frame_);
    std::array<std::optional<int32_t>, 3> current;
    for (int i = 0; i < 3; ++i) {
        if (codes[i] == EventStream::kNoAxis) continue;
        if (auto axis = query_(codes[i])) current[i] = axis->value;
    }
    stream_.resync(current);
}

}  // namespace tiltophon::sensor
