// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/SplashScreen.h"

namespace tiltophon {

void SplashScreen::set_background(Image image) { background_image_ = image; }

void SplashScreen::set_message(const char16_t* text) {
    std::lock_guard lock(mutex_);
    progress_.message.assign(text);
}

void SplashScreen::set_percent(uint32_t percent) {
    std::lock_guard lock(mutex_);
    progress_.percent = percent > 100 ? 100 : percent;
}

void SplashScreen::set_step(const char16_t* text, uint32_t percent) {
    std::lock_guard lock(mutex_);
    progress_.message.assign(text);
    progress_.percent = percent > 100 ? 100 : percent;
}

SplashScreen::Progress SplashScreen::progress() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

void SplashScreen::draw(DrawContext& context, const Rect& rect) const {
    fill_rect(context, rect, background_colour_);
    blit_centered(context, {rect.left, rect.top, rect.left + scale_x(240), rect.top + scale_y(240)},
                  background_image_);
    if (!show_details_) return;

    // One snapshot, so message and bar always belong to the same step.
    const Progress now = progress();
    draw_text(context, now.message.view(), {rect.left, rect.bottom - scale_y(60), rect.right, rect.bottom},
              text_format::kSingleLine | text_format::kCentre | text_format::kVerticalCentre |
                  text_format::kEndEllipsis,
              text_colour_, font_);

    const int32_t bar_left = rect.left + (scale_x(240) - scale_x(180)) / 2;
    const int32_t bar_top = rect.bottom - scale_y(80);
    const Rect bar{bar_left, bar_top, bar_left + scale_x(180), bar_top + scale_y(8)};
    fill_rect(context, deflate_rect(bar, -1, -1, -1, -1), frame_colour_);
    fill_rect(context, bar, track_colour_);
    const int32_t fill_width =
        static_cast<int32_t>(static_cast<uint32_t>(scale_x(180)) * now.percent / 100);
    gradient_fill(context, bar.left, bar.top, bar.left + fill_width, bar.bottom, fill_top_colour_,
                  fill_bottom_colour_, kGradientVertical);
}

void SplashScreen::paint_to(DrawContext& context, const Rect& rect, uint8_t opacity) const {
    Bitmap surface(rect.width(), rect.height());
    draw(surface, rect);
    alpha_blend_same(context, 0, 0, rect.width(), rect.height(), surface, opacity);
}

}  // namespace tiltophon
