// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/FolderIndex.h"

#include <algorithm>

#include "platform/Platform.h"

namespace tiltophon {

FolderIndex::FolderIndex(std::u16string_view folder) : folder_(folder) {
    if (!platform().files) return;
    for (DirectoryEntry& entry : platform().files->list_directory(folder_.view())) {
        if (!entry.is_directory) names_.push_back(std::move(entry.name));
    }
}

PathText FolderIndex::path_of(std::u16string_view name) const {
    std::u16string_view spelled = name;
    if (std::find(names_.begin(), names_.end(), name) == names_.end()) {
        auto same = std::find_if(names_.begin(), names_.end(), [&](const std::u16string& entry) {
            return compare_ignoring_case(entry, name) == 0;
        });
        if (same != names_.end()) spelled = *same;
    }
    PathText path(folder_);
    path.append(spelled);
    return path;
}

}  // namespace tiltophon
