// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "app/AppResources.h"
#include "screens/ScreensTestKit.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Label.h"
#include "vavurud/Picture.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

using testing::child_ids;
using testing::ProgramTest;
using testing::xywh;
using Ids = std::vector<uint32_t>;

class ScreenLayoutTest : public ProgramTest {
protected:
    explicit ScreenLayoutTest(ScreenInfo screen = {480, 640, 192, 192}) : ProgramTest(screen) {}
    void SetUp() override { start(); }
};

TEST_F(ScreenLayoutTest, TheTreeHoldsEveryControlInDrawingOrder) {
    EXPECT_EQ(child_ids(s.root_panel), (Ids{5}));
    EXPECT_EQ(child_ids(s.frame_panel), (Ids{16, 17, 18, 22, 19, 20, 21}));
    EXPECT_EQ(child_ids(s.main_panel), (Ids{32, 33, 34, 35, 36, 37}));
    EXPECT_EQ(child_ids(s.home_page), (Ids{80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 256}));
    EXPECT_EQ(child_ids(s.sounds_page), (Ids{96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 112}));
    EXPECT_EQ(child_ids(s.settings_page),
              (Ids{128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 144, 145, 146, 147, 148}));
    EXPECT_EQ(child_ids(s.about_page), (Ids{48, 49, 50, 51, 52, 53, 54, 55, 56}));
    EXPECT_EQ(child_ids(s.pick_page), (Ids{64, 65, 66, 67}));
    // Slot n owns its grid button, row and play button.
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(s.slot_buttons[n]->id(), 79u + n);
        EXPECT_EQ(s.sound_rows[n]->id(), 96u + n);
    }
    EXPECT_EQ(s.play_buttons[5]->id(), 112u);
}

TEST_F(ScreenLayoutTest, At192DpiThePagesFillTheBandBetweenTheBars) {
    EXPECT_EQ(s.root_panel->get_rect(), xywh(0, 0, 480, 640));
    EXPECT_EQ(s.frame_panel->get_rect(), xywh(0, 0, 480, 640));
    EXPECT_EQ(s.top_bar_picture->get_rect(), xywh(0, 0, 480, 52));
    EXPECT_EQ(s.close_button->get_rect(), xywh(428, 0, 52, 52));
    EXPECT_EQ(s.about_button->get_rect(), xywh(376, 0, 52, 52));
    EXPECT_EQ(s.bottom_bar_picture->get_rect(), xywh(0, 532, 480, 108));
    for (Control* screen :
         {(Control*)s.main_panel, (Control*)s.about_page, (Control*)s.pick_page}) {
        EXPECT_EQ(screen->get_rect(), xywh(0, 52, 480, 588));
    }
    EXPECT_EQ(s.home_tab->get_rect(), xywh(0, 532, 160, 108));
    EXPECT_EQ(s.sounds_tab->get_rect(), xywh(160, 532, 160, 108));
    EXPECT_EQ(s.settings_tab->get_rect(), xywh(320, 532, 160, 108));
    for (Control* page : {(Control*)s.home_page, (Control*)s.sounds_page, (Control*)s.settings_page,
                          (Control*)s.sound_list}) {
        EXPECT_EQ(page->get_rect(), xywh(0, 52, 480, 480));
    }

    // The grid's nine cells of 160 x 160 fill the page with no gap.
    EXPECT_EQ(s.slot_buttons[1]->get_rect(), xywh(160, 52, 160, 160));
    EXPECT_EQ(s.slot_buttons[2]->get_rect(), xywh(320, 212, 160, 160));
    EXPECT_EQ(s.slot_buttons[3]->get_rect(), xywh(160, 372, 160, 160));
    EXPECT_EQ(s.slot_buttons[4]->get_rect(), xywh(0, 212, 160, 160));
    EXPECT_EQ(s.slot_buttons[5]->get_rect(), xywh(160, 212, 160, 160));
    EXPECT_EQ(s.corner_pictures[1]->get_rect(), xywh(0, 52, 160, 160));
    EXPECT_EQ(s.corner_pictures[2]->get_rect(), xywh(320, 52, 160, 160));
    EXPECT_EQ(s.corner_pictures[3]->get_rect(), xywh(0, 372, 160, 160));
    EXPECT_EQ(s.corner_pictures[4]->get_rect(), xywh(320, 372, 160, 160));
    EXPECT_EQ(s.motion_toggle->get_rect(), xywh(364, 416, 72, 72));
    EXPECT_EQ(s.pulse_toggle->get_rect(), xywh(44, 416, 72, 72));
    EXPECT_EQ(s.slot_buttons[1]->icon_margins().left, 32);

    EXPECT_EQ(s.sounds_picture->get_rect(), xywh(0, 52, 70, 480));
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(s.sound_rows[n]->get_rect(), xywh(70, 52 + 96 * (n - 1), 325, 96)) << n;
        EXPECT_EQ(s.play_buttons[n]->get_rect(), xywh(395, 52 + 96 * (n - 1), 85, 96)) << n;
    }

    EXPECT_EQ(s.sensitivity_label->get_rect(), xywh(0, 60, 240, 40));
    EXPECT_EQ(s.z_axis_label->get_rect(), xywh(0, 232, 240, 60));
    EXPECT_EQ(s.y_sensitivity_selector->get_rect(), xywh(260, 167, 200, 60));
    // Four switch rows end where the bottom bar begins.
    EXPECT_EQ(s.x_button_close_check->get_rect(), xywh(260, 292, 200, 60));
    EXPECT_EQ(s.animations_check->get_rect(), xywh(260, 352, 200, 60));
    EXPECT_EQ(s.touch_vibrations_label->get_rect(), xywh(0, 412, 240, 60));
    EXPECT_EQ(s.sounds_overlap_label->get_rect(), xywh(0, 472, 240, 60));
    EXPECT_EQ(s.sounds_overlap_check->get_rect(), xywh(260, 472, 200, 60));

    EXPECT_EQ(s.about_title_label->get_rect(), xywh(0, 75, 480, 40));
    EXPECT_EQ(s.about_logo_picture->get_rect(), xywh(0, 195, 480, 40));
    EXPECT_EQ(s.donate_button->get_rect(), xywh(149, 402, 184, 52));
    EXPECT_EQ(s.about_notice_label->get_rect(), xywh(0, 492, 480, 40));
    EXPECT_EQ(s.back_button->get_rect(), xywh(140, 556, 200, 60));
    // CANCEL, Record and OK share the bar.
    EXPECT_EQ(s.cancel_button->get_rect(), xywh(16, 556, 144, 60));
    EXPECT_EQ(s.record_button->get_rect(), xywh(168, 556, 144, 60));
    EXPECT_EQ(s.ok_button->get_rect(), xywh(320, 556, 144, 60));
}

TEST_F(ScreenLayoutTest, ThePulseSwitchTakesThePenAndTheCornerPictureUnderItDoesNot) {
    bool before = s.pulse_toggle->is_pressed();
    program.tap(80, 452);
    EXPECT_NE(s.pulse_toggle->is_pressed(), before);
    EXPECT_FALSE(s.corner_pictures[3]->accepts_pen());
}

TEST_F(ScreenLayoutTest, TheWindowCarriesTheProgramsIcon) {
    const Bitmap& icon = program.headless_window().icon();
    ASSERT_NE(s.resources->icon, nullptr);
    ASSERT_EQ(icon.width(), 128);
    ASSERT_EQ(icon.height(), 128);
    EXPECT_EQ(icon.pixel(64, 64), s.resources->icon->pixel(64, 64));
}

class ScreenLayoutAt96DpiTest : public ScreenLayoutTest {
protected:
    ScreenLayoutAt96DpiTest() : ScreenLayoutTest({480, 640, 96, 96}) {}
};

TEST_F(ScreenLayoutAt96DpiTest, DesignUnitsHalveAndDevicePixelsStay) {
    EXPECT_EQ(s.top_bar_picture->get_rect(), xywh(0, 0, 480, 26));
    EXPECT_EQ(s.close_button->get_rect(), xywh(454, 0, 26, 26));
    EXPECT_EQ(s.bottom_bar_picture->get_rect(), xywh(0, 586, 240, 54));
    EXPECT_EQ(s.settings_tab->get_rect(), xywh(160, 586, 80, 54));
    EXPECT_EQ(s.home_page->get_rect(), xywh(0, 26, 240, 560));
    // The 80 x 80 grid is centred: (480 - 240) / 2 across, (640 - 54 - 240 - 26) / 2 down.
    EXPECT_EQ(s.slot_buttons[4]->get_rect(), xywh(120, 266, 80, 80));
    EXPECT_EQ(s.corner_pictures[1]->get_rect(), xywh(120, 186, 80, 80));
    EXPECT_EQ(s.motion_toggle->get_rect(), xywh(302, 368, 36, 36));
    // Rows, play buttons, Settings and About stay in device pixels; the rows start
    // at 26 + (640 - 240 - 54 - 26) / 2, and each play button beside its row.
    EXPECT_EQ(s.sound_rows[1]->get_rect(), xywh(70, 186, 325, 96));
    EXPECT_EQ(s.play_buttons[1]->get_rect(), xywh(395, 186, 85, 96));
    EXPECT_EQ(s.x_sensitivity_selector->get_rect(), xywh(260, 102, 200, 60));
    EXPECT_EQ(s.donate_button->get_rect(), xywh(149, 402, 184, 52));
    EXPECT_EQ(s.back_button->get_rect(), xywh(140, 556, 200, 60));
}

class ScreenLayoutOnTallScreenTest : public ScreenLayoutTest {
protected:
    ScreenLayoutOnTallScreenTest() : ScreenLayoutTest({480, 800, 192, 192}) {}
};

TEST_F(ScreenLayoutOnTallScreenTest, TheGridAndRowsCentreAndThePlayButtonsStayBesideTheirRows) {
    EXPECT_EQ(s.slot_buttons[1]->get_rect(), xywh(160, 132, 160, 160));
    EXPECT_EQ(s.home_page->get_rect(), xywh(0, 52, 480, 640));
    EXPECT_EQ(s.sound_rows[1]->get_rect(), xywh(70, 132, 325, 96));
    EXPECT_EQ(s.sounds_picture->get_rect(), xywh(0, 132, 70, 480));
    EXPECT_EQ(s.play_buttons[1]->get_rect(), xywh(395, 132, 85, 96));
    EXPECT_EQ(s.play_buttons[5]->get_rect(), xywh(395, 516, 85, 96));
    EXPECT_EQ(s.home_tab->get_rect(), xywh(0, 692, 160, 108));
    EXPECT_EQ(s.ok_button->get_rect(), xywh(320, 716, 144, 60));
    EXPECT_EQ(s.back_button->get_rect(), xywh(140, 716, 200, 60));
    EXPECT_EQ(s.about_notice_label->get_rect(), xywh(0, 652, 480, 40));
}

}  // namespace
}  // namespace tiltophon
