// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AccelerometerList.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "SmallFile.h"

namespace tiltophon::sensor {

namespace fs = std::filesystem;

std::vector<ListedAccelerometer> list_accelerometers(const DeviceRoots& roots) {
    std::vector<ListedAccelerometer> listed;
    for (const std::string& folder : find_iio_accelerometers(roots.iio)) {
        ListedAccelerometer entry;
        entry.source = "iio";
        entry.name = read_first_line(fs::path(folder) / "name");
        entry.path = folder;
        entry.readable = access((fs::path(folder) / "in_accel_x_raw").c_str(), R_OK) == 0;
        if (!entry.readable) entry.why_not = std::strerror(errno);
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
