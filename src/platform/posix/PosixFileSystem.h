// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/FileSystem.h"

namespace tiltophon {

class PosixFileSystem : public FileSystem {
public:
    std::u16string program_path() override;
    std::vector<DirectoryEntry> list_directory(std::u16string_view folder) override;
    // $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
    std::u16string data_home() override;
    // A folder that cannot be made is said once on stderr, with the reason.
    FolderResult make_folders(std::u16string_view folder) override;
    bool write_new_file(std::u16string_view path, std::string_view bytes) override;
    std::string read_head(std::u16string_view path, std::size_t count) override;
    CopyResult copy_new_file(std::u16string_view from, std::u16string_view to,
                             uint64_t max_bytes, const CopyCancelled& cancelled) override;
    CopyResult publish_new_file(std::u16string_view to, std::string_view bytes) override;
    void remove_unfinished_copies(std::u16string_view folder) override;
};

}  // namespace tiltophon
