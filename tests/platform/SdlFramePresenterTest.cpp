// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "platform/sdl/SdlFramePresenter.h"

namespace tiltophon {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;

// SDL's software renderer drawing into a surface of `width` x `height` pixels, as into
// a window of that many pixels.
class SdlFramePresenterTest : public ::testing::Test {
protected:
    void open(int32_t width, int32_t height, int32_t frame_width, int32_t frame_height) {
        surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
        ASSERT_NE(surface, nullptr) << SDL_GetError();
        SDL_FillRect(surface, nullptr, 0x00FFFFFF);  // white: whatever was there before
        SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_NE(renderer, nullptr) << SDL_GetError();
        presenter =
            std::make_unique<SdlFramePresenter>(nullptr, renderer, frame_width, frame_height);
    }
    void TearDown() override {
        presenter.reset();
        if (surface) SDL_FreeSurface(surface);
    }
    uint32_t shown(int32_t x, int32_t y) const {
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFFu;
    }
    // The left half red, the right half blue.
    static Bitmap halves(int32_t width, int32_t height) {
        Bitmap frame(width, height);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) frame.set_pixel(x, y, x < width / 2 ? kRed : kBlue);
        }
        return frame;
    }

    SDL_Surface* surface = nullptr;
    std::unique_ptr<SdlFramePresenter> presenter;
};

TEST_F(SdlFramePresenterTest, TheFrameIsScaledEvenlyAndSmoothlyBetweenBlackBands) {
    // A window resized to 960 x 1000: the frame is 750 x 1000 from x = 105.
    open(960, 1000, 480, 640);
    presenter->present(halves(480, 640));
    for (int32_t y : {0, 500, 999}) {
        EXPECT_EQ(shown(0, y), 0u);
        EXPECT_EQ(shown(104, y), 0u);
        EXPECT_EQ(shown(106, y), 0xFF0000u);
        EXPECT_EQ(shown(470, y), 0xFF0000u);
        EXPECT_EQ(shown(490, y), 0x0000FFu);
        EXPECT_EQ(shown(853, y), 0x0000FFu);
        EXPECT_EQ(shown(855, y), 0u);
        EXPECT_EQ(shown(959, y), 0u);
    }
    // Linear filtering: where red meets blue there are pixels of both.
    bool blended = false;
    for (int32_t x = 475; x < 485; ++x) {
        uint32_t p = shown(x, 500);
        blended = blended || ((p >> 16) > 0 && (p & 0xFF) > 0);
    }
    EXPECT_TRUE(blended);
    EXPECT_EQ(presenter->frame_point_from_window(105, 0), (Point{0, 0}));
    EXPECT_EQ(presenter->frame_point_from_window(10, 999), (Point{0, 639}));
    EXPECT_EQ(presenter->frame_point_from_touch(1.0f, 0.5f), (Point{479, 320}));
}

TEST_F(SdlFramePresenterTest, APhoneDisplayIsFilledToItsEdges) {
    open(720, 1440, 480, 960);
    presenter->present(halves(480, 960));
    EXPECT_EQ(shown(0, 0), 0xFF0000u);
    EXPECT_EQ(shown(719, 1439), 0x0000FFu);
    EXPECT_EQ(presenter->placement().target, (Rect{0, 0, 720, 1440}));
}

TEST_F(SdlFramePresenterTest, AOnePixelWindowShowsOnePixelOfTheFrame) {
    open(1, 1, 480, 640);
    presenter->present(halves(480, 640));
    uint32_t p = shown(0, 0);
    EXPECT_TRUE(p == 0xFF0000u || p == 0x0000FFu || ((p >> 16) > 0 && (p & 0xFF) > 0)) << p;
    EXPECT_EQ(presenter->frame_point_from_window(0, 0), (Point{240, 320}));
}

}  // namespace
}  // namespace tiltophon
