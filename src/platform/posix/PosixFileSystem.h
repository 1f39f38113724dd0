// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/FileSystem.h"

namespace tiltophon {

class PosixFileSystem : public FileSystem {
public:
    std::u16string program_path() override;
    std::vector<DirectoryEntry> list_directory(std::u16string_view folder) override;
};

}  // namespace tiltophon
