// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "InputDevices.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string_view>

#include "SmallFile.h"
#include "SysfsBitmap.h"

namespace tiltophon::sensor {

namespace fs = std::filesystem;

namespace {

std::optional<unsigned> event_number(std::string_view name) {
    if (!name.starts_with("event")) return std::nullopt;
    name.remove_prefix(5);
    unsigned number = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size() || name.empty()) {
        return std::nullopt;
    }
    return number;
}

// The driver of the device an input device belongs to (the HID device of a controller);
// a platform device without a driver (lis3lv02d) is known by its own name.
std::string driver_of(const fs::path& input_device) {
    std::error_code error;
    fs::path parent = input_device / "device";
    fs::path driver = fs::read_symlink(parent / "driver", error);
    if (!error) return driver.filename().string();
    fs::path real = fs::canonical(parent, error);
    if (!error) return real.filename().string();
    return {};
}

InputDeviceInfo describe(const InputRoots& roots, const std::string& event) {
    fs::path device = fs::path(roots.sys_class_input) / event / "device";
    return {event, (fs::path(roots.dev_input) / event).string(), read_first_line(device / "name"),
            driver_of(device)};
}

bool is_accelerometer(const InputRoots& roots, const InputDeviceInfo& info) {
    fs::path device = fs::path(roots.sys_class_input) / info.event / "device";
    SysfsBitmap properties(read_first_line(device / "properties"));
    SysfsBitmap abs(read_first_line(device / "capabilities" / "abs"));
    SysfsBitmap keys(read_first_line(device / "capabilities" / "key"));
    const DriverFrame& frame = driver_frame(info.driver);
    for (uint16_t code : accelerometer_codes(frame)) {
        if (code != EventStream::kNoAxis && !abs.has(code)) return false;
    }
    if (properties.has(INPUT_PROP_ACCELEROMETER)) return true;
    if (frame.rotational_axes) {
        // The remote's gyroscope (Motion Plus) has the same axes under another name.
        return std::string_view(info.name).ends_with("Accelerometer");
    }
    return frame.no_z_axis || keys.empty();
}

std::optional<AxisRange> query_axis(int fd, uint16_t code) {
    input_absinfo info{};
    if (ioctl(fd, EVIOCGABS(code), &info) != 0) return std::nullopt;
    return AxisRange{info.value, info.minimum, info.maximum, info.resolution};
}

}  // namespace

std::string printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return text;
}

std::vector<InputDeviceInfo> find_input_accelerometers(const InputRoots& roots) {
    std::vector<std::pair<unsigned, std::string>> events;
    std::error_code error;
    for (fs::directory_iterator it(roots.sys_class_input, error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (auto number = event_number(name)) events.emplace_back(*number, name);
    }
    std::sort(events.begin(), events.end());
    std::vector<InputDeviceInfo> found;
    for (const auto& [number, event] : events) {
        InputDeviceInfo info = describe(roots, event);
        if (is_accelerometer(roots, info)) found.push_back(std::move(info));
    }
    return found;
}

InputDeviceInfo describe_input_device(const InputRoots& roots, const std::string& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    std::string event = (error ? fs::path(path) : real).filename().string();
    if (event_number(event) && fs::exists(fs::path(roots.sys_class_input) / event, error)) {
        InputDeviceInfo info = describe(roots, event);
        info.dev_path = path;
        return info;
    }
    return {{}, path, {}, {}};
}

OpenedInput open_input_device(const InputDeviceInfo& info) {
    int fd = ::open(info.dev_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {nullptr, errno};
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) {
        ::close(fd);
        return {nullptr, ENOTTY};
    }
    auto device = EvdevDevice::open(fd, driver_frame(info.driver),
                                    [fd](uint16_t code) { return query_axis(fd, code); });
    if (!device) return {nullptr, ENOTTY};
    return {std::move(device), 0};
}

}  // namespace tiltophon::sensor
