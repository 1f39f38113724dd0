// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SourceConfig.h"

#include <string>

#include "FifoSource.h"
#include "IioSource.h"
#include "ReplaySource.h"

namespace tiltophon::sensor {

std::unique_ptr<SensorSource> make_source(std::string_view setting, std::string_view pace) {
    constexpr std::string_view kReplay = "replay:";
    constexpr std::string_view kFifo = "fifo:";
    if (setting.empty() || setting == "iio") return std::make_unique<IioSource>();
    if (setting.starts_with(kReplay)) {
        auto replay_pace = parse_replay_pace(pace);
        if (!replay_pace) return nullptr;
        auto samples = ReplaySource::load_file(std::string(setting.substr(kReplay.size())));
        if (!samples) return nullptr;
        return std::make_unique<ReplaySource>(std::move(*samples), *replay_pace);
    }
    if (setting.starts_with(kFifo) && setting.size() > kFifo.size()) {
        return std::make_unique<FifoSource>(std::string(setting.substr(kFifo.size())));
    }
    return nullptr;
}

}  // namespace tiltophon::sensor
