// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "EventStream.h"

#include <algorithm>
#include <cstring>

namespace tiltophon::sensor {

EventStream::EventStream(const std::array<uint16_t, 3>& codes, const std::array<int32_t, 3>& start)
    : codes_(codes), axes_(start) {}

void EventStream::feed(std::span<const std::byte> bytes) {
    constexpr size_t kEventSize = sizeof(input_event);
    if (partial_size_ > 0) {
        size_t missing = std::min(kEventSize - partial_size_, bytes.size());
        std::memcpy(partial_.data() + partial_size_, bytes.data(), missing);
        partial_size_ += missing;
        bytes = bytes.subspan(missing);
        if (partial_size_ < kEventSize) return;
        input_event event;
        std::memcpy(&event, partial_.data(), kEventSize);
        partial_size_ = 0;
        take(event);
    }
    while (bytes.size() >= kEventSize) {
        input_event event;
        std::memcpy(&event, bytes.data(), kEventSize);
        bytes = bytes.subspan(kEventSize);
        take(event);
    }
    std::memcpy(partial_.data(), bytes.data(), bytes.size());
    partial_size_ = bytes.size();
}

int EventStream::axis_of(uint16_t code) const {
    for (int i = 0; i < 3; ++i) {
        if (codes_[i] == code) return i;
    }
    return -1;
}

void EventStream::take(const input_event& event) {
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        dropping_ = true;
        changed_ = {};
        return;
    }
    if (event.type == EV_SYN && event.code == SYN_REPORT) {
        if (dropping_) {
            dropping_ = false;
            needs_resync_ = true;
            return;
        }
        for (int i = 0; i < 3; ++i) {
            if (changed_[i]) axes_[i] = pending_[i];
        }
        changed_ = {};
        ++reports_;
        return;
    }
    if (dropping_ || event.type != EV_ABS) return;
    int axis = axis_of(event.code);
    if (axis < 0) return;
    pending_[axis] = event.value;
    changed_[axis] = true;
}

void EventStream::resync(const std::array<std::optional<int32_t>, 3>& current) {
    for (int i = 0; i < 3; ++i) {
        if (current[i]) axes_[i] = *current[i];
    }
    needs_resync_ = false;
}

}  // namespace tiltophon::sensor
