// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL.h>

#include "platform/Bitmap.h"
#include "platform/FramePlacement.h"

namespace tiltophon {

// Shows finished frames in an SDL window and takes pen positions back to them. The
// frame goes through one streaming texture of its own size, drawn at the placement
// that FramePlacement gives for the renderer's pixels (not the window's points, so a
// HiDPI window is filled), with linear filtering, over black. When the display is
// turned away from its natural orientation, the frame is turned back first (into a
// picture of the frame's own size). Nothing of the window's size is allocated here.
class SdlFramePresenter {
public:
    // Takes over `renderer`, which draws into `window`. `window` may be null for a
    // renderer of an off-screen surface; its points are then its pixels.
    SdlFramePresenter(SDL_Window* window, SDL_Renderer* renderer, int32_t frame_width,
                      int32_t frame_height);
    ~SdlFramePresenter();
    SdlFramePresenter(const SdlFramePresenter&) = delete;
    SdlFramePresenter& operator=(const SdlFramePresenter&) = delete;

    bool ok() const { return renderer_ != nullptr; }
    void present(const Bitmap& frame);

    // How many quarter turns clockwise the frame is shown turned from now on.
    void set_quarter_turns(int32_t quarter_turns) { quarter_turns_ = normal_turns(quarter_turns); }
    int32_t quarter_turns() const { return quarter_turns_; }

    // Where the frame lies in the renderer's pixels as they are now.
    FramePlacement placement() const;
    // A mouse position in window points, as SDL's mouse events give it.
    Point frame_point_from_window(int32_t x, int32_t y) const;
    // A touch position as a share (0 to 1) of the window's width and height.
    Point frame_point_from_touch(float x, float y) const;

private:
    bool ensure_texture(int32_t width, int32_t height);

    SDL_Window* window_;
    SDL_Renderer* renderer_;
    SDL_Texture* texture_ = nullptr;
    int32_t frame_width_;
    int32_t frame_height_;
    int32_t texture_width_ = 0;
    int32_t texture_height_ = 0;
    int32_t quarter_turns_ = 0;
    // The turned frame, kept between frames.
    Bitmap turned_;
};

}  // namespace tiltophon
