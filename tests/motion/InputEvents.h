// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <linux/input.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sensor/EvdevFrame.h"

namespace tiltophon::evdev_test {

input_event event(uint16_t type, uint16_t code, int32_t value);
// ABS events for (code, value) pairs, closed by SYN_REPORT.
std::vector<input_event> report(std::vector<std::pair<uint16_t, int32_t>> axes);

// A pipe that stands in for an input device: the test writes events into one end, the
// code under test reads the other.
class EventPipe {
public:
    EventPipe();
    ~EventPipe();
    EventPipe(const EventPipe&) = delete;
    EventPipe& operator=(const EventPipe&) = delete;

    // The read end, handed over (once) to whoever reads.
    int take_reader();
    void write(const std::vector<input_event>& events);
    void write_bytes(const void* bytes, size_t size);
    void close_writer();
    int writer() const { return write_fd_; }

private:
    int read_fd_ = -1;
    int write_fd_ = -1;
};

// A recording in tests/fixtures/evdev/: the driver, its axes' absinfo, the motion codes
// the swings in it should give, and its reports, one per 50 ms.
struct Recording {
    std::string driver;
    std::map<uint16_t, sensor::AxisRange> axes;
    std::vector<int> expected_codes;
    std::vector<std::vector<input_event>> reports;
};
std::optional<Recording> load_recording(const std::string& path);

}  // namespace tiltophon::evdev_test
