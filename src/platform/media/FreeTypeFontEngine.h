// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/Font.h"

namespace tiltophon {

struct FreeTypeShared;

// Fonts by face name: fontconfig finds the face or its closest substitute, FreeType
// renders anti-aliased glyphs. A positive height is the cell height (ascent plus
// descent), a negative one the em size, zero the default cell height. Fonts may be
// created on one thread and drawn on another; every FreeType call is serialised.
class FreeTypeFontEngine : public FontEngine {
public:
    // `default_cell_height`: the cell height of the plain sans face that text without
    // a font of its own is drawn in.
    explicit FreeTypeFontEngine(int32_t default_cell_height);
    ~FreeTypeFontEngine() override;

    std::unique_ptr<Font> create_font(const LogicalFont& description) override;
    const Font* default_font() override;

private:
    std::shared_ptr<FreeTypeShared> shared_;
    int32_t default_cell_height_;
    std::once_flag default_once_;
    std::unique_ptr<Font> default_font_;
};

}  // namespace tiltophon
