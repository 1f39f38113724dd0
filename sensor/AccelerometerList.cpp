// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AccelerometerList.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "IioSource.h"
#include "SmallFile.h"

namespace tiltophon::sensor {

namespace fs = std::filesystem;

namespace {

// The error a raw read of the X axis gives, or 0 when it reads.
int raw_read_refused(const std::string& folder) {
    int fd = open((fs::path(folder) / "in_accel_x_raw").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    char buffer[64];
    int error = pread(fd, buffer, sizeof buffer, 0) < 0 ? errno : 0;
    close(fd);
    return error;
}

}  // namespace

std::vector<ListedAccelerometer> list_accelerometers(const DeviceRoots& roots) {
    std::vector<ListedAccelerometer> listed;
    for (const std::string& folder : find_iio_accelerometers(roots.iio)) {
        ListedAccelerometer entry;
        entry.source = "iio";
        entry.name = read_first_line(fs::path(folder) / "name");
        entry.path = folder;
        entry.readable = access((fs::path(folder) / "in_accel_x_raw").c_str(), R_OK) == 0;
        if (!entry.readable) {
            entry.why_not = std::strerror(errno);
        } else if (raw_read_refused(folder) == EBUSY) {
            entry.readable = false;
            entry.why_not = "busy";
            entry.advice = busy_accelerometer_notice(folder);
        }
        listed.push_back(std::move(entry));
    }
    for (const InputDeviceInfo& info : find_input_accelerometers(roots.input)) {
        ListedAccelerometer entry;
        entry.source = "evdev";
        entry.name = info.name;
        entry.path = info.dev_path;
        entry.driver = info.driver;
        OpenedInput opened = open_input_device(info);
        entry.readable = opened.device != nullptr;
        if (!entry.readable) {
            entry.why_not =
                opened.error == ENOTTY ? "not an input-event device" : std::strerror(opened.error);
        }
        listed.push_back(std::move(entry));
    }
    return listed;
}

}  // namespace tiltophon::sensor
