// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SourceConfig.h"

#include <string>

#include "EvdevSource.h"
#include "FifoSource.h"
#include "IioSource.h"
#include "ReplaySource.h"

namespace tiltophon::sensor {

namespace {

std::unique_ptr<SensorSource> first_accelerometer(const DeviceRoots& roots) {
    auto iio = std::make_unique<IioSource>(roots.iio);
    if (iio->has_device()) return iio;
    return std::make_unique<EvdevSource>(roots.input);
}

}  // namespace

std::unique_ptr<SensorSource> make_source(std::string_view setting, std::string_view pace,
                                          const DeviceRoots& roots) {
    constexpr std::string_view kReplay = "replay:";
    constexpr std::string_view kFifo = "fifo:";
    constexpr std::string_view kEvdev = "evdev:";
    if (setting.empty() || setting == "auto") return first_accelerometer(roots);
    if (setting == "iio") return std::make_unique<IioSource>(roots.iio);
    if (setting == "evdev") return std::make_unique<EvdevSource>(roots.input);
    if (setting.starts_with(kEvdev) && setting.size() > kEvdev.size()) {
        return std::make_unique<EvdevSource>(roots.input,
                                             std::string(setting.substr(kEvdev.size())));
    }
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
