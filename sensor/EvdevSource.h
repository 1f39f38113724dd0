// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "InputDevices.h"
#include "MonotonicClock.h"
#include "SensorSource.h"

namespace tiltophon::sensor {

// Readings from an input-event accelerometer (a game controller's motion sensors, an
// older laptop's accelerometer), found by itself or named by its path. Nothing waits:
// each read takes the events that have arrived. Without a device the readings are those
// of rest, (0, 0, -1000), never a reading frozen in mid-swing. A device that is missing,
// unplugged or unreadable is looked for again every second, so a controller switched on
// later is picked up.
class EvdevSource : public SensorSource {
public:
    static constexpr int64_t kRescanMs = 1000;

    using Opener = std::function<OpenedInput(const InputDeviceInfo&)>;
    // Told once, in words, that a device was found but cannot be read.
    using Complaint = std::function<void(const std::string&)>;

    // `path` empty: the first accelerometer found.
    explicit EvdevSource(InputRoots roots = {}, std::string path = {}, MonotonicClock clock = {},
                         Opener opener = open_input_device, Complaint complain = {});

    bool has_device() const { return device_ != nullptr; }
    // What the open device is; empty when there is none.
    const InputDeviceInfo& device_info() const { return info_; }
    Reading read() override;

private:
    std::vector<InputDeviceInfo> candidates() const;
    void scan(bool at_start);

    InputRoots roots_;
    std::string path_;
    MonotonicClock clock_;
    Opener opener_;
    Complaint complain_;
    std::unique_ptr<EvdevDevice> device_;
    InputDeviceInfo info_;
    int64_t last_scan_ms_ = 0;
    // The device that could not be read at the last scan; it is complained about when
    // that happens twice in a row, since a device just plugged in gets its permissions
    // a moment later.
    std::string unreadable_;
    bool complained_ = false;
};

// The sentence that tells a user why a device cannot be read and what to do.
std::string unreadable_device_message(const InputDeviceInfo& info, int error);

}  // namespace tiltophon::sensor
