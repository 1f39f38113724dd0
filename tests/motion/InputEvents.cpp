// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/InputEvents.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace tiltophon::evdev_test {

namespace {

const std::map<std::string, uint16_t>& names() {
    static const std::map<std::string, uint16_t> codes{
        {"EV_SYN", EV_SYN},
        {"EV_ABS", EV_ABS},
        {"EV_MSC", EV_MSC},
        {"SYN_REPORT", SYN_REPORT},
        {"SYN_DROPPED", SYN_DROPPED},
        {"MSC_TIMESTAMP", MSC_TIMESTAMP},
        {"ABS_X", ABS_X},
        {"ABS_Y", ABS_Y},
        {"ABS_Z", ABS_Z},
        {"ABS_RX", ABS_RX},
        {"ABS_RY", ABS_RY},
        {"ABS_RZ", ABS_RZ},
    };
    return codes;
}

std::optional<uint16_t> code_named(const std::string& name) {
    auto found = names().find(name);
    if (found == names().end()) return std::nullopt;
    return found->second;
}

}  // namespace

input_event event(uint16_t type, uint16_t code, int32_t value) {
    input_event e{};
    e.type = type;
    e.code = code;
    e.value = value;
    return e;
}

std::vector<input_event> report(std::vector<std::pair<uint16_t, int32_t>> axes) {
    std::vector<input_event> events;
    for (auto [code, value] : axes) events.push_back(event(EV_ABS, code, value));
    events.push_back(event(EV_SYN, SYN_REPORT, 0));
    return events;
}

EventPipe::EventPipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) == 0) {
        read_fd_ = fds[0];
        write_fd_ = fds[1];
    }
}

EventPipe::~EventPipe() {
    if (read_fd_ >= 0) close(read_fd_);
    close_writer();
}

int EventPipe::take_reader() {
    int fd = read_fd_;
    read_fd_ = -1;
    return fd;
}

void EventPipe::write(const std::vector<input_event>& events) {
    write_bytes(events.data(), events.size() * sizeof(input_event));
}

void EventPipe::write_bytes(const void* bytes, size_t size) {
    ASSERT_EQ(::write(write_fd_, bytes, size), static_cast<ssize_t>(size));
}

void EventPipe::close_writer() {
    if (write_fd_ >= 0) close(write_fd_);
    write_fd_ = -1;
}

std::optional<Recording> load_recording(const std::string& path) {
    std::ifstream file(path);
    if (!file) return std::nullopt;
    Recording recording;
    std::vector<input_event> current;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "driver") {
            words >> recording.driver;
        } else if (first == "absinfo") {
            std::string axis;
            sensor::AxisRange range;
            words >> axis >> range.minimum >> range.maximum >> range.resolution >> range.value;
            auto code = code_named(axis);
            if (!code || !words) return std::nullopt;
            recording.axes[*code] = range;
        } else if (first == "expect") {
            for (int code; words >> code;) recording.expected_codes.push_back(code);
        } else {
            std::string code_name;
            int32_t value = 0;
            words >> code_name >> value;
            auto type = code_named(first);
            auto code = code_named(code_name);
            if (!type || !code || !words) return std::nullopt;
            current.push_back(event(*type, *code, value));
            if (*type == EV_SYN && *code == SYN_REPORT) {
                recording.reports.push_back(std::move(current));
                current.clear();
            }
        }
    }
    return recording;
}

}  // namespace tiltophon::evdev_test
