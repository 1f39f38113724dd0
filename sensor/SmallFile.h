// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace tiltophon::sensor {

// The first line of a small text file such as a sysfs attribute, cut at 256 characters;
// empty when the file cannot be read.
inline std::string read_first_line(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    if (file) std::getline(file, line);
    if (line.size() > 256) line.resize(256);
    return line;
}

}  // namespace tiltophon::sensor
