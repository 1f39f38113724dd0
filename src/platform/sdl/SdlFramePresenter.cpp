// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlFramePresenter.h"

namespace tiltophon {

namespace {

struct PixelSize {
    int w = 0;
    int h = 0;
};

PixelSize output_size(SDL_Renderer* renderer) {
    PixelSize size;
    if (renderer && SDL_GetRendererOutputSize(renderer, &size.w, &size.h) != 0) return {};
    return size;
}

}  // namespace

SdlFramePresenter::SdlFramePresenter(SDL_Window* window, SDL_Renderer* renderer,
                                     int32_t frame_width, int32_t frame_height)
    : window_(window),
      renderer_(renderer),
      frame_width_(frame_width),
      frame_height_(frame_height) {}

SdlFramePresenter::~SdlFramePresenter() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
}

bool SdlFramePresenter::ensure_texture(int32_t width, int32_t height) {
    if (texture_ && texture_width_ == width && texture_height_ == height) return true;
    if (texture_) SDL_DestroyTexture(texture_);
    // The frame's 0xAARRGGBB pixels read as XRGB: the frame is opaque, and a format
    // without alpha is the one windows have, so the software renderer scales it
    // straight into the window without converting.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    texture_width_ = texture_ ? width : 0;
    texture_height_ = texture_ ? height : 0;
    if (!texture_) return false;
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    return true;
}

void SdlFramePresenter::present(const Bitmap& frame) {
    if (!renderer_ || frame.width() <= 0 || frame.height() <= 0) return;
    PixelSize output = output_size(renderer_);
    FramePlacement placed =
        FramePlacement::fit(frame.width(), frame.height(), output.w, output.h, quarter_turns_);
    // A window with no pixels (minimised, or on its way there) shows nothing.
    if (placed.target.empty()) return;
    const Bitmap* shown = &frame;
    if (quarter_turns_ != 0) {
        turn_frame(frame, quarter_turns_, turned_);
        shown = &turned_;
    }
    if (!ensure_texture(shown->width(), shown->height())) return;
    SDL_UpdateTexture(texture_, nullptr, shown->data(), shown->width() * 4);
    // Only the bands beside the frame are painted black: every pixel is written each
    // time, as a renderer with an undefined back buffer needs, and a phone display
    // that the frame fills is written once instead of twice.
    const Rect& t = placed.target;
    SDL_Rect bands[2];
    if (t.left > 0 || t.right < output.w) {
        bands[0] = {0, 0, t.left, output.h};
        bands[1] = {t.right, 0, output.w - t.right, output.h};
    } else {
        bands[0] = {0, 0, output.w, t.top};
        bands[1] = {0, t.bottom, output.w, output.h - t.bottom};
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    for (const SDL_Rect& band : bands) {
        if (band.w > 0 && band.h > 0) SDL_RenderFillRect(renderer_, &band);
    }
    SDL_Rect target{t.left, t.top, t.width(), t.height()};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

FramePlacement SdlFramePresenter::placement() const {
    PixelSize output = output_size(renderer_);
    return FramePlacement::fit(frame_width_, frame_height_, output.w, output.h, quarter_turns_);
}

Point SdlFramePresenter::frame_point_from_window(int32_t x, int32_t y) const {
    PixelSize output = output_size(renderer_);
    PixelSize points = output;
    if (window_) SDL_GetWindowSize(window_, &points.w, &points.h);
    // The centre of the point under the pen, in pixels: a HiDPI window has more
    // pixels than points.
    double per_point_x = points.w > 0 ? double(output.w) / points.w : 1.0;
    double per_point_y = points.h > 0 ? double(output.h) / points.h : 1.0;
    return placement().frame_point((x + 0.5) * per_point_x, (y + 0.5) * per_point_y);
}

Point SdlFramePresenter::frame_point_from_touch(float x, float y) const {
    PixelSize output = output_size(renderer_);
    return placement().frame_point(double(x) * output.w, double(y) * output.h);
}

}  // namespace tiltophon
