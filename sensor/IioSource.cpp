// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "IioSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace tiltophon::sensor {

namespace fs = std::filesystem;

namespace {

constexpr double kStandardGravity = 9.80665;  // m/s^2 in one g
constexpr char kAxes[3] = {'x', 'y', 'z'};

std::optional<double> parse_number(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> read_small_file(const fs::path& path) {
    std::ifstream file(path);
    if (!file) return std::nullopt;
    char buffer[256];
    file.read(buffer, sizeof buffer);
    return std::string(buffer, static_cast<size_t>(file.gcount()));
}

std::optional<double> read_number(const fs::path& path) {
    auto text = read_small_file(path);
    if (!text) return std::nullopt;
    return parse_number(*text);
}

// A per-axis attribute ("in_accel_x_scale") wins over the shared one ("in_accel_scale").
double axis_attribute(const fs::path& folder, char axis, const char* name, double fallback) {
    std::string own = std::string("in_accel_") + axis + "_" + name;
    if (auto value = read_number(folder / own)) return *value;
    if (auto value = read_number(folder / (std::string("in_accel_") + name))) return *value;
    return fallback;
}

// "iio:device10" comes after "iio:device9".
bool device_order(const fs::path& a, const fs::path& b) {
    std::string na = a.filename().string();
    std::string nb = b.filename().string();
    if (na.size() != nb.size()) return na.size() < nb.size();
    return na < nb;
}

bool has_raw_axes(const fs::path& folder) {
    std::error_code error;
    for (char axis : kAxes) {
        if (!fs::exists(folder / (std::string("in_accel_") + axis + "_raw"), error)) return false;
    }
    return true;
}

}  // namespace

std::optional<Matrix3> parse_mount_matrix(std::string_view text) {
    Matrix3 matrix{};
    int row = 0;
    int column = 0;
    while (!text.empty()) {
        size_t end = text.find_first_of(",;");
        std::string_view item = text.substr(0, end);
        auto value = parse_number(item);
        if (!value || row > 2 || column > 2) return std::nullopt;
        matrix[row][column] = *value;
        if (end == std::string_view::npos) {
            text = {};
        } else {
            // A ';' closes a row, and only after its third number.
            if (text[end] == ';') {
                if (column != 2) return std::nullopt;
                ++row;
                column = 0;
            } else {
                ++column;
            }
            text.remove_prefix(end + 1);
            if (text.empty()) return std::nullopt;
        }
    }
    if (row != 2 || column != 2) return std::nullopt;
    return matrix;
}

std::vector<std::string> find_iio_accelerometers(const std::string& devices_root) {
    std::error_code error;
    std::vector<fs::path> devices;
    for (fs::directory_iterator it(devices_root, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        if (has_raw_axes(it->path())) devices.push_back(it->path());
    }
    std::sort(devices.begin(), devices.end(), device_order);
    std::vector<std::string> folders;
    for (const fs::path& device : devices) folders.push_back(device.string());
    return folders;
}

std::string busy_accelerometer_notice(const std::string& folder) {
    std::string name = fs::path(folder).filename().string();
    bool streamed = false;
    for (const char* enable : {"buffer/enable", "buffer0/enable"}) {
        auto text = read_small_file(fs::path(folder) / enable);
        if (text && !text->empty() && (*text)[0] == '1') streamed = true;
    }
    std::string holder = streamed ? "another program streams it through its buffer, most likely "
                                    "the system's screen rotation service (iio-sensor-proxy)"
                                  : "another program holds it, most likely the system's screen "
                                    "rotation service (iio-sensor-proxy)";
    return "the accelerometer " + name + " is busy: " + holder +
           ". Lock the screen rotation (in the phone's quick settings) to free it; until then "
           "motion reads as rest, and the accelerometer is tried again every second.";
}

IioSource::IioSource(const std::string& devices_root, MonotonicClock clock, AttributeReader reader,
                     NoticeSink notices)
    : root_(devices_root),
      clock_(clock_or_steady(std::move(clock))),
      reader_(std::move(reader)),
      notices_(std::move(notices)) {
    if (!reader_) {
        reader_ = [](int fd, char* buffer, unsigned long size) -> long {
            return pread(fd, buffer, size, 0);
        };
    }
    if (!notices_) {
        notices_ = [](const std::string& line) {
            std::fprintf(stderr, "tiltophon: %s\n", line.c_str());
        };
    }
    find_device();
}

void IioSource::become_busy() {
    busy_ = true;
    busy_since_ms_ = clock_();
    // Said once: a user who chose to keep the rotation on has heard it.
    if (!busy_said_) notices_(busy_accelerometer_notice(folder_));
    busy_said_ = true;
}

void IioSource::find_device() {
    last_scan_ms_ = clock_();
    for (const std::string& folder : find_iio_accelerometers(root_)) {
        if (open_device(folder)) return;
    }
}

// A sysfs attribute of a removed device fails to read (ENODEV); a file that was
// removed while open has no links left.
bool IioSource::device_gone() const {
    struct stat status {};
    return fstat(raw_fds_[0], &status) != 0 || status.st_nlink == 0;
}

void IioSource::lose_device() {
    close_device();
    lost_ = true;
    last_scan_ms_ = clock_();
}

IioSource::~IioSource() {
    close_device();
}

bool IioSource::open_device(const std::string& folder_name) {
    fs::path folder(folder_name);
    mount_ = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    last_raw_ = {};
    for (int i = 0; i < 3; ++i) {
        std::string raw = std::string("in_accel_") + kAxes[i] + "_raw";
        raw_fds_[i] = open((folder / raw).c_str(), O_RDONLY | O_CLOEXEC);
        if (raw_fds_[i] < 0) {
            close_device();
            return false;
        }
        scale_[i] = axis_attribute(folder, kAxes[i], "scale", 1.0);
        offset_[i] = axis_attribute(folder, kAxes[i], "offset", 0.0);
    }
    for (const char* name : {"in_accel_mount_matrix", "mount_matrix"}) {
        auto text = read_small_file(folder / name);
        if (!text) continue;
        if (auto matrix = parse_mount_matrix(*text)) mount_ = *matrix;
        break;
    }
    lost_ = false;
    folder_ = folder_name;
    return true;
}

void IioSource::close_device() {
    for (int& fd : raw_fds_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

Reading IioSource::read() {
    if (!has_device() && clock_() - last_scan_ms_ >= kRescanMs) find_device();
    if (has_device() && device_gone()) lose_device();
    if (!has_device()) return lost_ ? kRest : Reading{};
    if (busy_ && clock_() - busy_since_ms_ < kBusyRetryMs) return kRest;
    for (int i = 0; i < 3; ++i) {
        // A sysfs attribute gives its current value each time it is read from the start.
        char buffer[64];
        long count = reader_(raw_fds_[i], buffer, sizeof buffer - 1);
        if (count < 0 && errno == EBUSY) {
            become_busy();
            return kRest;
        }
        if (count < 0 && errno != EINTR && errno != EAGAIN) {
            lose_device();
            return kRest;
        }
        if (count <= 0) continue;  // keep the axis's last value
        if (auto raw = parse_number(std::string_view(buffer, static_cast<size_t>(count)))) {
            last_raw_[i] = *raw;
        }
    }
    busy_ = false;
    std::array<double, 3> sensor{};
    for (int i = 0; i < 3; ++i) sensor[i] = (last_raw_[i] + offset_[i]) * scale_[i];
    std::array<double, 3> device{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) device[r] += mount_[r][c] * sensor[c];
    }
    // The device frame reports the push the device feels (+1 g on Z lying screen up);
    // the program's frame is that turned half a turn about the Y axis.
    constexpr double kMilliG = 1000.0 / kStandardGravity;
    return Reading{clamp_to_int16(-device[0] * kMilliG), clamp_to_int16(device[1] * kMilliG),
                   clamp_to_int16(-device[2] * kMilliG)};
}

}  // namespace tiltophon::sensor
