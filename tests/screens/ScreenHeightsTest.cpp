// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pages on the logical screens of the displays people have: the handset's and a
// desktop window's 480 x 640, and the 480-pixel-wide screens of taller phones. Each
// is shown on its display through the presentation's placement, and the pen comes
// back through it.

#include <gtest/gtest.h>

#include <string>

#include "platform/FramePlacement.h"
#include "screens/ScreensTestKit.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Picture.h"

namespace tiltophon {
namespace {

using testing::centre_of;
using testing::ProgramTest;
using testing::xywh;

struct Display {
    int32_t logical_height;
    int32_t width;  // the display's (or the window's) pixels
    int32_t height;
};

std::string name_of(const ::testing::TestParamInfo<Display>& info) {
    return "At480x" + std::to_string(info.param.logical_height) + "On" +
           std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

bool inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class ScreenHeightsTest : public ProgramTest, public ::testing::WithParamInterface<Display> {
protected:
    ScreenHeightsTest() : ProgramTest({480, GetParam().logical_height, 192, 192}) {}
    void SetUp() override {
        program.store_full_board();
        start();
    }

    int32_t h() const { return GetParam().logical_height; }
    FramePlacement placement() const {
        return FramePlacement::fit(480, h(), GetParam().width, GetParam().height);
    }
    // A touch on the display where the middle of `control` is shown, brought back to
    // the frame as the platform brings it.
    void touch_on_display(const Control* control) {
        FramePlacement placed = placement();
        Point p = centre_of(control);
        double scale = double(placed.target.width()) / 480;
        Point back = placed.frame_point(placed.target.left + (p.x + 0.5) * scale,
                                        placed.target.top + (p.y + 0.5) * scale);
        EXPECT_TRUE(control->get_rect().contains(back.x, back.y)) << back.x << "," << back.y;
        program.tap(back.x, back.y);
        program.settle();
    }
    std::u16string last_played() {
        auto sounds = program.headless.devices.sounds();
        if (sounds.empty()) return u"(nothing)";
        std::u16string path = sounds.back().path;
        std::size_t name = path.rfind(u'/');
        return path.substr(path.rfind(u'/', name - 1) + 1);
    }
};

TEST_P(ScreenHeightsTest, TheBarsHoldTheEdgesAndEveryPageFitsBetweenThem) {
    EXPECT_EQ(s.top_bar_picture->get_rect(), xywh(0, 0, 480, 52));
    EXPECT_EQ(s.bottom_bar_picture->get_rect(), xywh(0, h() - 108, 480, 108));
    EXPECT_EQ(s.settings_tab->get_rect(), xywh(320, h() - 108, 160, 108));
    Rect band = xywh(0, 52, 480, h() - 160);
    EXPECT_EQ(s.home_page->get_rect(), band);
    // The grid's 160-pixel cells stay square, centred in the band.
    EXPECT_EQ(s.slot_buttons[5]->get_rect(), xywh(160, 212 + (h() - 640) / 2, 160, 160));
    for (const Panel* page : {s.home_page, s.sounds_page, s.settings_page}) {
        for (const Control* child : page->children()) {
            EXPECT_TRUE(inside(child->get_rect(), band)) << "control " << child->id();
        }
    }
    for (const Control* child : s.about_page->children()) {
        EXPECT_TRUE(inside(child->get_rect(), xywh(0, 52, 480, h() - 52)))
            << "control " << child->id();
    }
}

TEST_P(ScreenHeightsTest, EveryPlayButtonStandsBesideItsOwnRow) {
    for (int n = 1; n <= 5; ++n) {
        Rect row = s.sound_rows[n]->get_rect();
        Rect play = s.play_buttons[n]->get_rect();
        EXPECT_EQ(play, xywh(row.right, row.top, 85, row.height())) << "slot " << n;
    }
    EXPECT_EQ(s.sound_rows[1]->get_rect().top, 52 + (h() - 640) / 2);
}

TEST_P(ScreenHeightsTest, TheFrameFillsItsDisplayAndTouchesReachTheControlsUnderThem) {
    EXPECT_EQ(placement().target, xywh(0, 0, GetParam().width, GetParam().height));
    touch_on_display(s.sounds_tab);
    ASSERT_TRUE(s.sounds_page->is_visible());
    const char16_t* slots[] = {u"",
                               u"Drums/Kick.wav",
                               u"Bells/Chime.wav",
                               u"Synth/Zap.wav",
                               u"Voices/Oh.wav",
                               u"Drums/Snare.wav"};
    for (int n = 1; n <= 5; ++n) {
        touch_on_display(s.play_buttons[n]);
        EXPECT_EQ(last_played(), slots[n]) << "play button " << n;
    }
    touch_on_display(s.settings_tab);
    EXPECT_TRUE(s.settings_page->is_visible());
}

INSTANTIATE_TEST_SUITE_P(Displays, ScreenHeightsTest,
                         ::testing::Values(Display{640, 480, 640}, Display{640, 960, 1280},
                                           Display{800, 600, 1000}, Display{960, 720, 1440},
                                           Display{1040, 1080, 2340}),
                         name_of);

}  // namespace
}  // namespace tiltophon
