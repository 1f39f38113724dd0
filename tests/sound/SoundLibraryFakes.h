// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ImageCodec.h"
#include "platform/Text.h"

namespace tiltophon::testing {

// A file system whose folders report exactly the entries, in exactly the order, that
// the test gives them.
class ScriptedFileSystem : public FileSystem {
public:
    std::u16string program_path() override { return u"/opt/tiltophon/tiltophon"; }
    std::vector<DirectoryEntry> list_directory(std::u16string_view folder) override {
        ++listings_;
        auto it = folders_.find(std::u16string(folder));
        return it == folders_.end() ? std::vector<DirectoryEntry>{} : it->second;
    }

    // Adds a file or folder to `folder`, after those already there.
    ScriptedFileSystem& file(const std::u16string& folder, const std::u16string& name) {
        folders_[folder].push_back({name, false});
        return *this;
    }
    ScriptedFileSystem& folder(const std::u16string& folder, const std::u16string& name) {
        folders_[folder].push_back({name, true});
        return *this;
    }
    int listings() const { return listings_; }

private:
    std::map<std::u16string, std::vector<DirectoryEntry>> folders_;
    int listings_ = 0;
};

// Decodes nothing: every path it is asked for that the test marked as a picture gives
// a 1 x 1 bitmap; a path on disk gives one when the file exists and is not empty.
class FakeImageCodec : public ImageCodec {
public:
    std::unique_ptr<Bitmap> load_png(std::u16string_view path) override {
        std::u16string key(path);
        loads.push_back(key);
        bool known = pictures.count(key) != 0;
        std::error_code error;
        std::filesystem::path on_disk(utf8_from_utf16(path));
        bool exists = std::filesystem::is_regular_file(on_disk, error) &&
                      std::filesystem::file_size(on_disk, error) > 0 && !error;
        if (!known && !exists) return nullptr;
        return std::make_unique<Bitmap>(1, 1);
    }

    std::map<std::u16string, bool> pictures;
    std::vector<std::u16string> loads;
};

}  // namespace tiltophon::testing
