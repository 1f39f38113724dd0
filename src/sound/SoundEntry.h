// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Bitmap.h"
#include "platform/Text.h"

namespace tiltophon {

// One sound of the library: a WAV file in a sound set's folder, with the set's two
// pictures. A plain record, copied as a whole; the pictures belong to the bank.
struct SoundEntry {
    PathText FolderName;
    PathText FileName;
    PathText FilePath;
    Image BigImage = nullptr;
    Image SmallImage = nullptr;
};

}  // namespace tiltophon
