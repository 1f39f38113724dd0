// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "EvdevSource.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace tiltophon::sensor {

namespace {

void to_stderr(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace

std::string unreadable_device_message(const InputDeviceInfo& info, int error) {
    std::string device = printable(info.dev_path);
    if (!info.name.empty()) device += " (" + printable(info.name) + ")";
    if (error == EACCES || error == EPERM) {
        return "tiltophon: cannot read the accelerometer " + device +
               ": permission denied. Install Tiltophon's udev rule "
               "(70-tiltophon-accelerometer.rules, part of the package) and plug the device "
               "in again, or add yourself to the 'input' group and log in again. Until then "
               "Tiltophon runs without motion.";
    }
    return "tiltophon: " + device + " is not an input-event accelerometer (" +
           std::strerror(error) + "). Tiltophon runs without motion.";
}

EvdevSource::EvdevSource(InputRoots roots, std::string path, MonotonicClock clock, Opener opener,
                         Complaint complain)
    : roots_(std::move(roots)),
      path_(std::move(path)),
      clock_(clock_or_steady(std::move(clock))),
      opener_(std::move(opener)),
      complain_(complain ? std::move(complain) : Complaint(to_stderr)) {
    scan(true);
}

std::vector<InputDeviceInfo> EvdevSource::candidates() const {
    if (path_.empty()) return find_input_accelerometers(roots_);
    return {describe_input_device(roots_, path_)};
}

void EvdevSource::scan(bool at_start) {
    last_scan_ms_ = clock_();
    // A device that is simply not there (yet) is no news; one that is there but cannot
    // be read is, and so is a named path that is no input device, unless another
    // device is read instead.
    std::optional<std::pair<InputDeviceInfo, int>> refused;
    for (const InputDeviceInfo& info : candidates()) {
        OpenedInput opened = opener_(info);
        if (opened.device) {
            device_ = std::move(opened.device);
            info_ = info;
            unreadable_.clear();
            return;
        }
        int error = opened.error;
        bool worth_saying =
            error == EACCES || error == EPERM || (error == ENOTTY && !path_.empty());
        if (worth_saying && !refused) refused.emplace(info, error);
    }
    if (!refused) {
        unreadable_.clear();
        return;
    }
    const auto& [info, error] = *refused;
    if (!complained_ && (at_start || unreadable_ == info.dev_path)) {
        complained_ = true;
        complain_(unreadable_device_message(info, error));
    }
    unreadable_ = info.dev_path;
}

Reading EvdevSource::read() {
    if (!device_ && clock_() - last_scan_ms_ >= kRescanMs) scan(false);
    if (device_ && !device_->pump()) {
        device_.reset();
        info_ = {};
        last_scan_ms_ = clock_();
    }
    return device_ ? device_->reading() : kRest;
}

}  // namespace tiltophon::sensor
