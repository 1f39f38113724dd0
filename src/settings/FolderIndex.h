// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace tiltophon {

// The names in one folder, read once, for finding files whatever the letter case of
// their names: a skin made for a system whose file names ignore case works here too.
class FolderIndex {
public:
    // `folder` ends with the separator. Lists it through the platform's file system;
    // without one (or for a folder that cannot be read) names are taken as given.
    explicit FolderIndex(std::u16string_view folder);

    // The folder followed by the name as the folder spells it: the exact name when it
    // is there, else the first entry equal to it ignoring case, else the name as given.
    // Bounded to 259 units like every path.
    PathText path_of(std::u16string_view name) const;

private:
    PathText folder_;
    std::vector<std::u16string> names_;
};

}  // namespace tiltophon
