// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace tiltophon::fuzz {

// A private folder for one fuzzer process, in memory (/dev/shm) where the system has
// it, so that the many small files the targets write never reach a disk. Removed with
// everything in it when the process ends normally.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error) || ::access(base.c_str(), W_OK) != 0) {
            base = std::filesystem::temp_directory_path(error);
        }
        std::string pattern = (base / "tiltophon-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        empty();
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Removes everything inside, links without following them.
    void empty() const {
        std::error_code error;
        for (std::filesystem::directory_iterator it(path_, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code ignored;
            std::filesystem::remove_all(it->path(), ignored);
        }
    }

private:
    std::filesystem::path path_;
};

}  // namespace tiltophon::fuzz
