// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReplaySource.h"

#include <charconv>
#include <fstream>
#include <utility>

#include "LineSplitter.h"

namespace tiltophon::sensor {

namespace {

}  // namespace

std::optional<ReplayPace> parse_replay_pace(std::string_view text) {
    if (text.empty() || text == "time") return ReplayPace{};
    constexpr std::string_view kReads = "reads:";
    if (!text.starts_with(kReads)) return std::nullopt;
    std::string_view digits = text.substr(kReads.size());
    uint32_t count = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error != std::errc() || end != digits.data() + digits.size() || count == 0) {
        return std::nullopt;
    }
    return ReplayPace{ReplayPace::Kind::kReads, count};
}

ReplaySource::ReplaySource(std::vector<Reading> samples, ReplayPace pace, MonotonicClock clock)
    : samples_(std::move(samples)), pace_(pace), clock_(clock_or_steady(std::move(clock))) {
    if (pace_.reads_per_sample == 0) pace_.reads_per_sample = 1;
}

std::optional<std::vector<Reading>> ReplaySource::load_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<Reading> samples;
    auto take = [&samples](std::string_view line) {
        if (samples.size() >= kMaxSamples) return;
        if (auto reading = parse_reading_line(line)) samples.push_back(*reading);
    };
    LineSplitter lines;
    char buffer[4096];
    size_t total = 0;
    while (samples.size() < kMaxSamples && total < kMaxFileBytes && file) {
        file.read(buffer, sizeof buffer);
        total += static_cast<size_t>(file.gcount());
        lines.feed(std::string_view(buffer, static_cast<size_t>(file.gcount())), take);
    }
    if (file.bad()) return std::nullopt;
    lines.finish(take);
    if (samples.empty()) return std::nullopt;
    return samples;
}

size_t ReplaySource::current_index() {
    if (pace_.kind == ReplayPace::Kind::kReads) {
        return static_cast<size_t>(reads_++ / pace_.reads_per_sample % samples_.size());
    }
    int64_t now = clock_();
    if (!started_) {
        started_ = true;
        start_ms_ = now;
    }
    int64_t elapsed = now > start_ms_ ? now - start_ms_ : 0;
    return static_cast<size_t>(static_cast<uint64_t>(elapsed / kSamplePeriodMs) % samples_.size());
}

Reading ReplaySource::read() {
    if (samples_.empty()) return {};
    return samples_[current_index()];
}

}  // namespace tiltophon::sensor
