// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MonotonicClock.h"
#include "SensorSource.h"

namespace tiltophon::sensor {

// How a replay moves from one recorded sample to the next.
struct ReplayPace {
    enum class Kind {
        kTime,   // one sample per 50 ms of real (monotonic) time
        kReads,  // one sample per `reads_per_sample` reads, whatever the time
    };
    Kind kind = Kind::kTime;
    uint32_t reads_per_sample = 1;
};

// Parses a pace setting: empty or "time" for real time, "reads:N" (N >= 1) for one
// sample per N reads. Nothing for anything else.
std::optional<ReplayPace> parse_replay_pace(std::string_view text);

// Plays a recorded trace, one sample per 50 ms period, over and over.
class ReplaySource : public SensorSource {
public:
    static constexpr int64_t kSamplePeriodMs = 50;
    // A trace longer than this is cut; an hour at 20 samples a second.
    static constexpr size_t kMaxSamples = 72000;
    // Reading a trace file stops after this much, readings or not.
    static constexpr size_t kMaxFileBytes = size_t{16} << 20;

    // The first read gives the first sample. `clock` is used by the time pace only.
    ReplaySource(std::vector<Reading> samples, ReplayPace pace, MonotonicClock clock = {});

    // The readings of a trace file, one "x y z" line each; lines that are not readings
    // are skipped. Nothing when the file cannot be read or holds no reading at all.
    static std::optional<std::vector<Reading>> load_file(const std::string& path);

    Reading read() override;

private:
    size_t current_index();

    std::vector<Reading> samples_;
    ReplayPace pace_;
    MonotonicClock clock_;
    bool started_ = false;
    int64_t start_ms_ = 0;
    uint64_t reads_ = 0;
};

}  // namespace tiltophon::sensor
