// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MonotonicClock.h"
#include "SensorSource.h"

namespace tiltophon::sensor {

// A 3 x 3 matrix, row by row.
using Matrix3 = std::array<std::array<double, 3>, 3>;

// Parses an IIO mount matrix, "a, b, c; d, e, f; g, h, i" (rows separated by ';').
// Nothing unless it holds exactly nine numbers.
std::optional<Matrix3> parse_mount_matrix(std::string_view text);

// The first accelerometer of the Linux industrial I/O subsystem: a device under
// `devices_root` with in_accel_x_raw, in_accel_y_raw and in_accel_z_raw. Each raw
// value is offset and scaled to m/s^2, turned into the device's frame by the mount
// matrix and handed out in thousandths of g, with the signs the program expects:
// lying still screen up gives Z = -1000, dipping the right edge gives X > 0, dipping
// the top edge (tilting forward) gives Y < 0. Without a device every reading is zero;
// once a device has gone (its driver unloaded, the sensor hub reset) the readings are
// those of rest, (0, 0, -1000). Either way a device is looked for again every second.
// A device that refuses raw reads because another program streams it through its
// buffer (EBUSY: the shell's rotation service, on many drivers) reads rest too; that
// is said once, and the device is read again every second until it answers.
// The accelerometer folders under `devices_root` ("iio:device0" first, "iio:device10"
// after "iio:device9"): those with in_accel_x_raw, in_accel_y_raw and in_accel_z_raw.
std::vector<std::string> find_iio_accelerometers(const std::string& devices_root);

// Reads an open attribute file from its start: the bytes read, or -1 with errno set.
using AttributeReader = std::function<long(int fd, char* buffer, unsigned long size)>;
// Where a source says what the user should know, one line without its end.
using NoticeSink = std::function<void(const std::string& line)>;

// What holds a busy accelerometer and how to free it, for the user: the device folder's
// buffer says whether a program streams it.
std::string busy_accelerometer_notice(const std::string& folder);

class IioSource : public SensorSource {
public:
    static constexpr const char* kDevicesRoot = "/sys/bus/iio/devices";
    static constexpr int64_t kRescanMs = 1000;
    static constexpr int64_t kBusyRetryMs = 1000;

    // `reader` defaults to pread; `notices` to standard error.
    explicit IioSource(const std::string& devices_root = kDevicesRoot, MonotonicClock clock = {},
                       AttributeReader reader = {}, NoticeSink notices = {});
    ~IioSource() override;
    IioSource(const IioSource&) = delete;
    IioSource& operator=(const IioSource&) = delete;

    bool has_device() const { return raw_fds_[0] >= 0; }
    // Another program holds the device; it is tried again every second.
    bool busy() const { return busy_; }
    Reading read() override;

private:
    void find_device();
    bool open_device(const std::string& folder);
    void close_device();
    bool device_gone() const;
    void lose_device();
    void become_busy();

    std::string root_;
    MonotonicClock clock_;
    AttributeReader reader_;
    NoticeSink notices_;
    std::string folder_;
    bool busy_ = false;
    bool busy_said_ = false;
    int64_t busy_since_ms_ = 0;
    int64_t last_scan_ms_ = 0;
    bool lost_ = false;

    std::array<int, 3> raw_fds_{-1, -1, -1};
    std::array<double, 3> scale_{1.0, 1.0, 1.0};
    std::array<double, 3> offset_{0.0, 0.0, 0.0};
    Matrix3 mount_{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    std::array<double, 3> last_raw_{0.0, 0.0, 0.0};
};

}  // namespace tiltophon::sensor
