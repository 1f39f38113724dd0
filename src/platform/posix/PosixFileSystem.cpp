// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Text.h"

namespace tiltophon {

namespace fs = std::filesystem;

std::u16string PosixFileSystem::program_path() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return utf16_from_utf8(exe.native());
}

std::vector<DirectoryEntry> PosixFileSystem::list_directory(std::u16string_view folder) {
    std::vector<DirectoryEntry> entries;
    std::error_code error;
    fs::directory_iterator it(fs::path(utf8_from_utf16(folder)), error);
    // The iterator never reports "." and ".."; a folder that cannot be read gives none.
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code type_error;
        // A link counts as what it points to; a dangling one or a loop as a plain file.
        bool is_directory = it->is_directory(type_error) && !type_error;
        entries.push_back({utf16_from_utf8(it->path().filename().native()), is_directory});
    }
    // The system reports names in the order of its own storage (hash order on most
    // Linux file systems); people expect a set's sounds in name order.
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        int order = compare_ignoring_case(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

}  // namespace tiltophon
