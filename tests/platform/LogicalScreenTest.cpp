// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "platform/ScreenSpec.h"

namespace tiltophon {
namespace {

struct Expected {
    int32_t height;
    bool device_display;
};

Expected screen_for(int32_t width, int32_t height, int32_t dpi = 0, bool touch = false) {
    LogicalScreen logical = logical_screen_for({width, height, dpi, touch});
    // Whatever the display, the pages are laid out 480 pixels wide at 192 dpi.
    EXPECT_EQ(logical.screen.width, 480);
    EXPECT_EQ(logical.screen.dpi_x, 192);
    EXPECT_EQ(logical.screen.dpi_y, 192);
    return {logical.screen.height, logical.device_display};
}

void expect_screen(Expected got, int32_t height, bool device_display, const char* what) {
    EXPECT_EQ(got.height, height) << what;
    EXPECT_EQ(got.device_display, device_display) << what;
}

TEST(LogicalScreenTest, ADesktopGetsTheHandsetWindowAndAPhoneTheDisplaysAspect) {
    expect_screen(screen_for(1920, 1080, 96), 640, false, "desktop");
    expect_screen(screen_for(3840, 2160, 192), 640, false, "HiDPI desktop");
    expect_screen(screen_for(720, 1440), 960, true, "phone without touch, no dpi known");
    expect_screen(screen_for(720, 1440, 270, true), 960, true, "phone at 270 dpi");
    expect_screen(screen_for(1080, 2340, 400, true), 1040, true, "19.5:9 phone");
    expect_screen(screen_for(1080, 1920), 853, true, "16:9 phone, rounded");
    expect_screen(screen_for(600, 1000), 800, true, "5:3 phone");
}

TEST(LogicalScreenTest, HeightsTheLayoutCannotServeStopAt640And1200) {
    // Squarer than the handset: the Settings page and the rows would not fit.
    expect_screen(screen_for(768, 1024, 0, true), 640, true, "3:4 tablet");
    expect_screen(screen_for(1000, 1001), 640, true, "almost square");
    expect_screen(screen_for(1280, 800, 216, true), 640, true, "7-inch landscape touch screen");
    // Taller than any phone: black bands above and below.
    expect_screen(screen_for(1080, 2520), 1120, true, "21:9");
    expect_screen(screen_for(1000, 2500), 1200, true, "5:2");
    expect_screen(screen_for(100, 4000), 1200, true, "a strip");
}

// Full screen for phones alone, whatever the user's command line says otherwise.
TEST(LogicalScreenTest, FullScreenGoesToPhonesAndTheCommandLineOverridesIt) {
    struct Case {
        const char* what;
        DisplayInfo display;
        bool full_screen;
    };
    const Case cases[] = {
        {"desktop monitor", {1920, 1080, 96, false}, false},
        {"14-inch touch laptop", {1920, 1080, 157, true}, false},
        {"touch laptop, density unknown", {1920, 1080, 0, true}, false},
        {"portrait monitor", {1080, 1920, 92, false}, true},
        {"phone, no touch or density known", {720, 1440, 0, false}, true},
        {"phone", {720, 1440, 270, true}, true},
        {"8.9-inch landscape tablet", {1920, 1200, 254, true}, true},
        {"9.1-inch landscape tablet", {1920, 1200, 249, true}, false},
        {"size unknown", {0, 0, 270, true}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(is_phone_display(c.display), c.full_screen) << c.what;
        EXPECT_EQ(logical_screen_for(c.display).device_display, c.full_screen) << c.what;
        LogicalScreen window = logical_screen_for(c.display, ScreenMode::kWindow);
        EXPECT_FALSE(window.device_display) << c.what;
        EXPECT_EQ(window.screen.height, 640) << c.what;
        LogicalScreen full = logical_screen_for(c.display, ScreenMode::kFullScreen);
        EXPECT_TRUE(full.device_display) << c.what;
    }
    // Forced onto a desktop monitor: the handset's height, black bands at the sides.
    EXPECT_EQ(logical_screen_for({1920, 1080, 96, false}, ScreenMode::kFullScreen).screen.height,
              640);
}

TEST(LogicalScreenTest, ADisplayWithNoSizeOrAnAbsurdDensityGetsTheHandsetScreen) {
    for (DisplayInfo display :
         {DisplayInfo{0, 0, 0, true}, DisplayInfo{0, 1440, 270, true},
          DisplayInfo{-720, -1440, 270, true}, DisplayInfo{720, 1440, 5, true},
          DisplayInfo{720, 1440, 100000, true}, DisplayInfo{720, 1440, -1, true},
          DisplayInfo{40000, 80000, 270, true}}) {
        LogicalScreen logical = logical_screen_for(display);
        EXPECT_EQ(logical.screen.width, 480);
        EXPECT_EQ(logical.screen.height, 640)
            << display.width << "x" << display.height << "@" << display.dpi;
        EXPECT_FALSE(logical.device_display);
    }
}

}  // namespace
}  // namespace tiltophon
