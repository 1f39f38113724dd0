// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string_view>

#include "platform/Bitmap.h"

namespace tiltophon {

class ImageCodec {
public:
    virtual ~ImageCodec() = default;
    // Decodes a PNG file into an opaque bitmap; null when the file is missing, is not
    // a PNG, is damaged or claims an absurd size (refused before anything is allocated).
    virtual std::unique_ptr<Bitmap> load_png(std::u16string_view path) = 0;
};

}  // namespace tiltophon
