// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/HapticDevices.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <vector>

#include "sensor/IioSource.h"
#include "sensor/InputDevices.h"
#include "sensor/SysfsBitmap.h"

namespace tiltophon {

namespace {

namespace fs = std::filesystem;

// The kernel's force-feedback effect types (linux/input.h).
constexpr unsigned kFfRumble = 0x50;
constexpr unsigned kFfPeriodic = 0x51;

std::string first_line(const fs::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

struct EventNode {
    std::string event;  // "event3"
    fs::path input;     // its sysfs input device
    std::string name;
    bool rumble = false;
    bool periodic = false;
};

std::vector<EventNode> event_nodes(const HapticRoots& roots) {
    std::vector<std::pair<int, EventNode>> found;
    std::error_code error;
    for (fs::directory_iterator it(roots.sys_class_input, error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string event = it->path().filename().string();
        int number = 0;
        auto [end, bad] = std::from_chars(event.data() + std::min<size_t>(5, event.size()),
                                          event.data() + event.size(), number);
        if (!event.starts_with("event") || bad != std::errc() ||
            end != event.data() + event.size()) {
            continue;
        }
        EventNode node{event, it->path() / "device", first_line(it->path() / "device" / "name")};
        sensor::SysfsBitmap ff(first_line(node.input / "capabilities" / "ff"));
        node.rumble = ff.has(kFfRumble);
        node.periodic = ff.has(kFfPeriodic);
        found.emplace_back(number, std::move(node));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<EventNode> nodes;
    for (auto& entry : found) nodes.push_back(std::move(entry.second));
    return nodes;
}

// What udev recorded of the event device: its database entry holds "E:KEY=VALUE".
std::string udev_property(const HapticRoots& roots, const EventNode& node, std::string_view key) {
    std::string numbers = first_line(fs::path(roots.sys_class_input) / node.event / "dev");
    std::ifstream entry(fs::path(roots.udev_data) / ("c" + numbers));
    std::string line;
    std::string wanted = "E:" + std::string(key) + "=";
    while (std::getline(entry, line)) {
        if (line.starts_with(wanted)) return line.substr(wanted.size());
    }
    return {};
}

bool says_vibrator(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.find("vibrator") != std::string::npos;
}

HapticDevice device_of(const HapticRoots& roots, const EventNode& node, std::string why) {
    return {(fs::path(roots.dev_input) / node.event).string(), node.name, std::move(why)};
}

// The device the input device belongs to (a controller's HID device), which all of
// the controller's event nodes share.
fs::path owner_of(const fs::path& input) {
    std::error_code error;
    fs::path owner = fs::canonical(input / "device", error);
    return error ? fs::path() : owner;
}

// The event device the sensor library reads for `setting`, if it is an input-event one.
std::optional<std::string> sensor_event(const HapticRoots& roots, std::string_view setting) {
    sensor::InputRoots input{roots.sys_class_input, roots.dev_input};
    if (setting.starts_with("evdev:")) {
        return sensor::describe_input_device(input, std::string(setting.substr(6))).event;
    }
    bool automatic = setting.empty() || setting == "auto";
    if (setting != "evdev" && !automatic) return std::nullopt;
    // Automatic choice prefers an IIO accelerometer, which belongs to no controller.
    if (automatic && !sensor::find_iio_accelerometers(roots.iio_devices).empty())
        return std::nullopt;
    auto accelerometers = sensor::find_input_accelerometers(input);
    if (accelerometers.empty()) return std::nullopt;
    return accelerometers.front().event;
}

}  // namespace

std::optional<HapticDevice> find_vibration_motor(const HapticRoots& roots) {
    for (const EventNode& node : event_nodes(roots)) {
        if (!node.rumble && !node.periodic) continue;
        if (udev_property(roots, node, "ID_PATH") == "platform-vibrator") {
            return device_of(roots, node, "udev marks it as the platform's vibrator");
        }
        if (udev_property(roots, node, "FEEDBACKD_TYPE") == "vibra") {
            return device_of(roots, node, "udev marks it as the haptics service's motor");
        }
        if (says_vibrator(node.name)) return device_of(roots, node, "its name says vibrator");
    }
    return std::nullopt;
}

std::optional<HapticDevice> find_controller_rumble(const HapticRoots& roots,
                                                   std::string_view sensor_setting) {
    std::optional<std::string> sensor = sensor_event(roots, sensor_setting);
    if (!sensor) return std::nullopt;
    std::vector<EventNode> nodes = event_nodes(roots);
    auto accelerometer = std::find_if(nodes.begin(), nodes.end(),
                                      [&](const EventNode& n) { return n.event == *sensor; });
    if (accelerometer == nodes.end()) return std::nullopt;
    fs::path owner = owner_of(accelerometer->input);
    if (owner.empty()) return std::nullopt;
    for (const EventNode& node : nodes) {
        if (node.rumble && owner_of(node.input) == owner) {
            return device_of(roots, node,
                             "the motion comes from this controller (" + accelerometer->name + ")");
        }
    }
    return std::nullopt;
}

}  // namespace tiltophon
