// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

namespace tiltophon {

// Paths are UTF-16 with '/' between folders.
constexpr char16_t kPathSeparator = u'/';

struct DirectoryEntry {
    std::u16string name;
    bool is_directory = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The full path of the program's own file, links resolved.
    virtual std::u16string program_path() = 0;

    // The entries of a folder by name, ignoring letter case, without "." and "..". An
    // unreadable or missing folder gives none.
    virtual std::vector<DirectoryEntry> list_directory(std::u16string_view folder) = 0;
};

}  // namespace tiltophon
