// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <linux/input.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tiltophon::sensor {

// Follows the three accelerometer axes of an input-event device through its stream of
// `struct input_event`s. Values count only once their report is complete (SYN_REPORT),
// so a reading never mixes two reports. After SYN_DROPPED the kernel has lost events:
// everything up to the next SYN_REPORT is dropped and the device's current state must
// be asked for again (`needs_resync`, then `resync`). Other axes (the gyroscope's),
// keys and timestamps are ignored.
class EventStream {
public:
    // `codes`: the event codes of the axes, in X, Y, Z order; kNoAxis for one the
    // device does not have.
    static constexpr uint16_t kNoAxis = 0xFFFF;
    explicit EventStream(const std::array<uint16_t, 3>& codes,
                         const std::array<int32_t, 3>& start = {});

    // Bytes as read from the device, in pieces of any size: whole events are taken,
    // the rest of a cut one waits for the next piece.
    void feed(std::span<const std::byte> bytes);
    void take(const input_event& event);

    // The axes as of the last complete report.
    const std::array<int32_t, 3>& axes() const { return axes_; }
    uint64_t reports() const { return reports_; }
    // Events were lost and the report that followed has ended.
    bool needs_resync() const { return needs_resync_; }
    // The device's current values, asked for after a loss; an axis without one keeps
    // its last value.
    void resync(const std::array<std::optional<int32_t>, 3>& current);

private:
    int axis_of(uint16_t code) const;

    std::array<uint16_t, 3> codes_;
    std::array<int32_t, 3> axes_;
    std::array<int32_t, 3> pending_{};
    std::array<bool, 3> changed_{};
    bool dropping_ = false;
    bool needs_resync_ = false;
    uint64_t reports_ = 0;
    std::array<std::byte, sizeof(input_event)> partial_{};
    size_t partial_size_ = 0;
};

}  // namespace tiltophon::sensor
