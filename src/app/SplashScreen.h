// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <mutex>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/Text.h"
#include "vavurud/Draw.h"

namespace tiltophon {

// The picture, progress bar and step message shown while the program starts.
// The loader thread changes message and percent while the main thread paints;
// a lock keeps the pair consistent, so a paint never shows a half-written message
// or a message with another step's percent.
class SplashScreen {
public:
    struct Progress {
        PathText message;
        uint32_t percent = 0;
    };

    void set_background(Image image);
    void set_message(const char16_t* text);
    // Above 100 counts as 100.
    void set_percent(uint32_t percent);
    // Message and percent together, as one step left them.
    void set_step(const char16_t* text, uint32_t percent);
    Progress progress() const;

    void draw(DrawContext& context, const Rect& rect) const;
    // Draws through a temporary surface and blends it onto the context.
    void paint_to(DrawContext& context, const Rect& rect, uint8_t opacity) const;

    Image background_image() const { return background_image_; }
    void set_show_details(bool show) { show_details_ = show; }

private:
    Image background_image_ = nullptr;
    Colour background_colour_ = 0x000000;
    FontHandle font_ = nullptr;
    Colour text_colour_ = 0xFFFFFF;
    Colour frame_colour_ = 0x808080;
    Colour track_colour_ = 0x333333;
    Colour fill_top_colour_ = 0x11D4FE;
    Colour fill_bottom_colour_ = 0x005C70;
    bool show_details_ = true;

    mutable std::mutex mutex_;
    Progress progress_;
};

}  // namespace tiltophon
