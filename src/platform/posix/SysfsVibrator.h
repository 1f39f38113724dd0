// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace tiltophon {

// A vibration motor driven through the kernel's sysfs files: the LED class
// ("leds/vibrator/brightness", on while non-zero) or the older timed output class
// ("timed_output/vibrator/enable", on for the given milliseconds).
class SysfsVibrator {
public:
    // Looks under `sysfs_class` (normally /sys/class); null when no vibrator is there.
    static std::unique_ptr<SysfsVibrator> find(const std::string& sysfs_class = "/sys/class");

    void set_vibrating(bool on);

    const std::string& control_file() const { return file_; }

private:
    // A timed output switches itself off after this long; off is written sooner.
    static constexpr int kTimedOutputMaxMs = 10000;

    SysfsVibrator(std::string file, std::string on_value)
        : file_(std::move(file)), on_value_(std::move(on_value)) {}

    std::string file_;
    std::string on_value_;
    std::mutex mutex_;
};

}  // namespace tiltophon
