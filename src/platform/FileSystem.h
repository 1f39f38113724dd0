// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tiltophon {

// Paths are UTF-16 with '/' between folders.
constexpr char16_t kPathSeparator = u'/';

enum class FolderResult { kCreated, kExisted, kFailed };

// What came of copying a file to a name that must not exist yet.
enum class CopyResult { kCopied, kNameTaken, kFailed };

// Asked while a copy runs: true to give it up.
using CopyCancelled = std::function<bool()>;

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

    // The folder for the user's own data files ($XDG_DATA_HOME, else ~/.local/share),
    // without a trailing separator; empty when the system has none. Only the file
    // systems that belong to a user have one; the others keep the defaults below.
    virtual std::u16string data_home() { return {}; }

    // Makes a folder and its missing parents. kExisted when it was a folder already;
    // kFailed when it cannot be made or something else has its name.
    virtual FolderResult make_folders(std::u16string_view) { return FolderResult::kFailed; }

    // Creates a file with these bytes; an existing file of that name is left alone
    // and gives false, as does any failure (nothing half-written is left behind).
    virtual bool write_new_file(std::u16string_view, std::string_view) { return false; }

    // Up to `count` bytes from the start of a regular file; empty for anything else
    // (a folder, a device, a missing or unreadable file).
    virtual std::string read_head(std::u16string_view, std::size_t) { return {}; }

    // Copies a regular file of at most `max_bytes` to `to`, which must not exist: the
    // copy is written under a hidden temporary name in the target's folder and only
    // given its name once whole, so a full disk or a crash never leaves a partial
    // file under the new name, and an existing file is never replaced (kNameTaken).
    // A file that changes its size while it is copied, and a copy that `cancelled`
    // gives up, fail and leave nothing. May take long: call it off the main thread.
    virtual CopyResult copy_new_file(std::u16string_view, std::u16string_view, uint64_t,
                                     const CopyCancelled&) {
        return CopyResult::kFailed;
    }

    // Makes a file with these bytes at `to`, which must not exist, the way
    // `copy_new_file` does: whole under its name or not there at all, never over
    // another file (kNameTaken). May wait for the disk: call it off the main thread.
    virtual CopyResult publish_new_file(std::u16string_view, std::string_view) {
        return CopyResult::kFailed;
    }

    // Removes the hidden temporary files that copies into `folder` left when the
    // process ended during them. Only while no copy into that folder runs.
    virtual void remove_unfinished_copies(std::u16string_view) {}
};

}  // namespace tiltophon
