// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/SysfsVibrator.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace tiltophon {

namespace {

const std::string kOff = "0";

bool writable(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

// The LED's full brightness, "1" when the file is missing or odd.
std::string full_brightness(const std::string& folder) {
    std::string value;
    int fd = ::open((folder + "/max_brightness").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char buffer[16];
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        ::close(fd);
        for (ssize_t i = 0; i < n && buffer[i] >= '0' && buffer[i] <= '9'; ++i) value += buffer[i];
    }
    return value.empty() || value.find_first_not_of('0') == std::string::npos ? "1" : value;
}

}  // namespace

std::unique_ptr<SysfsVibrator> SysfsVibrator::find(const std::string& sysfs_class) {
    std::string led = sysfs_class + "/leds/vibrator";
    if (writable(led + "/brightness")) {
        return std::unique_ptr<SysfsVibrator>(
            new SysfsVibrator(led + "/brightness", full_brightness(led)));
    }
    std::string timed = sysfs_class + "/timed_output/vibrator/enable";
    if (writable(timed)) {
        return std::unique_ptr<SysfsVibrator>(
            new SysfsVibrator(timed, std::to_string(kTimedOutputMaxMs)));
    }
    return nullptr;
}

void SysfsVibrator::set_vibrating(bool on) {
    const std::string& value = on ? on_value_ : kOff;
    std::lock_guard lock(mutex_);
    int fd = ::open(file_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return;
    // A failed switch is not noticed, as with any vibrator.
    [[maybe_unused]] ssize_t written = ::write(fd, value.data(), value.size());
    ::close(fd);
}

}  // namespace tiltophon
