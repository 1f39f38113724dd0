// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/headless/HeadlessSoundRecorder.h"

#include <algorithm>
#include <cstdio>

namespace tiltophon {

void HeadlessSoundRecorder::set_present(bool present) {
    std::lock_guard lock(mutex_);
    present_ = present;
}

void HeadlessSoundRecorder::hear(std::span<const float> samples) {
    std::lock_guard lock(mutex_);
    if (!recording_ || failed_) return;
    const std::size_t room = std::size_t{kRate} * kMaxSeconds - take_.size();
    take_.insert(take_.end(), samples.begin(), samples.begin() + std::min(room, samples.size()));
}

void HeadlessSoundRecorder::fail() {
    std::lock_guard lock(mutex_);
    failed_ = recording_;
}

bool HeadlessSoundRecorder::is_recording() {
    std::lock_guard lock(mutex_);
    return recording_;
}

bool HeadlessSoundRecorder::start_take() {
    std::lock_guard lock(mutex_);
    take_.clear();
    failed_ = false;
    recording_ = present_;
    if (!present_) std::fprintf(stderr, "tiltophon: cannot record, there is no microphone\n");
    return present_;
}

bool HeadlessSoundRecorder::take_failed() {
    std::lock_guard lock(mutex_);
    return failed_;
}

std::vector<float> HeadlessSoundRecorder::end_take() {
    std::lock_guard lock(mutex_);
    recording_ = false;
    return std::move(take_);
}

}  // namespace tiltophon
