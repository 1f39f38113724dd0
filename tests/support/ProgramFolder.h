// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "motion/TempFolder.h"
#include "platform/Text.h"

namespace tiltophon {

// A temporary folder as the program names folders: UTF-16, ending with the separator.
inline std::u16string folder_path(const TempFolder& folder) {
    return utf16_from_utf8(folder.path().string() + "/");
}

}  // namespace tiltophon
