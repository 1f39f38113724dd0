// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "app/KeepAwakeTimer.h"
#include "app/MainWindow.h"
#include "motion/MotionPolling.h"
#include "screens/ControlIds.h"
#include "screens/FramePainter.h"
#include "screens/Screens.h"
#include "screens/ScreensTestKit.h"
#include "vavurud/AnimationClock.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {
namespace {

using testing::ProgramTest;

class NavigationTest : public ProgramTest {
protected:
    void SetUp() override { start(); }

    // Which screen, which tab page, and the tab bar's checked and locked flags.
    void expect_current(Panel* screen, Panel* page, CheckButton* tab) {
        for (Panel* each : {s.main_panel, s.about_page, s.pick_page}) {
            EXPECT_EQ(each->is_visible(), each == screen) << each->id();
        }
        for (Panel* each : {s.home_page, s.sounds_page, s.settings_page}) {
            EXPECT_EQ(each->is_visible(), each == page) << each->id();
        }
        for (CheckButton* each : {s.home_tab, s.sounds_tab, s.settings_tab}) {
            EXPECT_EQ(each->is_pressed(), each == tab) << each->id();
            EXPECT_EQ(each->is_locked(), each == tab) << each->id();
        }
    }
    int32_t transition_kind() {
        return s.animation_clock->is_running() ? s.animation_clock->kind() : 0;
    }
    void switch_motion_on() {
        tap(s.motion_toggle);
        ASSERT_TRUE(s.motion_toggle->is_pressed());
        ASSERT_TRUE(program.headless_window().has_timer(kDetectorXTimer));
    }
    void expect_motion_off() {
        HeadlessWindow& window = program.headless_window();
        EXPECT_FALSE(s.motion_toggle->is_pressed());
        EXPECT_EQ(s.motion_toggle->text(), u"Off");
        for (uint32_t timer :
             {kDetectorXTimer, kDetectorYTimer, kDetectorZTimer, kKeepAwakeTimerId}) {
            EXPECT_FALSE(window.has_timer(timer)) << "timer " << timer;
        }
        EXPECT_FALSE(s.keep_awake->is_running());
    }
};

TEST_F(NavigationTest, StartUpShowsTheHomePageWithItsTabLocked) {
    EXPECT_TRUE(s.frame_panel->is_visible());
    expect_current(s.main_panel, s.home_page, s.home_tab);
    EXPECT_FALSE(s.about_button->is_visible());
    EXPECT_EQ(s.motion_toggle->text(), u"Off");
    EXPECT_EQ(s.pending_slot_id, 0u);
}

TEST_F(NavigationTest, TabsPushThePagesTowardsTheSideTheyComeFrom) {
    tap(s.sounds_tab);
    EXPECT_EQ(transition_kind(), int32_t(Transition::PushLeft));
    expect_current(s.main_panel, s.sounds_page, s.sounds_tab);
    program.settle();

    tap(s.settings_tab);
    EXPECT_EQ(transition_kind(), int32_t(Transition::PushLeft));
    expect_current(s.main_panel, s.settings_page, s.settings_tab);
    program.settle();

    tap(s.sounds_tab);  // from the right-hand tab, so the pages move right
    EXPECT_EQ(transition_kind(), int32_t(Transition::PushRight));
    program.settle();

    tap(s.home_tab);
    EXPECT_EQ(transition_kind(), int32_t(Transition::PushRight));
    expect_current(s.main_panel, s.home_page, s.home_tab);
}

TEST_F(NavigationTest, TappingTheCurrentTabChangesNothing) {
    switch_motion_on();
    tap(s.home_tab);
    EXPECT_FALSE(s.animation_clock->is_running());
    expect_current(s.main_panel, s.home_page, s.home_tab);
    // Motion detection goes on: no notification reached navigation.
    EXPECT_TRUE(s.motion_toggle->is_pressed());
    EXPECT_TRUE(program.headless_window().has_timer(kDetectorZTimer));
}

TEST_F(NavigationTest, EveryPageChangeSwitchesMotionDetectionOff) {
    switch_motion_on();
    ASSERT_TRUE(s.keep_awake->is_running());
    tap(s.sounds_tab);
    expect_motion_off();
    program.settle();
    tap(s.home_tab);
    program.settle();
    expect_motion_off();  // coming back does not switch it on again

    switch_motion_on();
    tap(s.settings_tab);
    program.settle();
    tap(s.about_button);
    expect_motion_off();
}

TEST_F(NavigationTest, TheAboutScreenComesDownFromSettingsAndLeavesUpwards) {
    tap(s.settings_tab);
    program.settle();
    EXPECT_TRUE(s.about_button->is_visible());

    tap(s.about_button);
    EXPECT_EQ(transition_kind(), int32_t(Transition::CoverDown));
    EXPECT_TRUE(s.about_page->is_visible());
    EXPECT_FALSE(s.main_panel->is_visible());
    EXPECT_FALSE(s.about_button->is_visible());
    program.settle();

    tap(s.back_button);
    EXPECT_EQ(transition_kind(), int32_t(Transition::UncoverUp));
    expect_current(s.main_panel, s.settings_page, s.settings_tab);
    EXPECT_TRUE(s.about_button->is_visible());
    program.settle();

    // The About button belongs to the Settings page alone.
    tap(s.sounds_tab);
    EXPECT_FALSE(s.about_button->is_visible());
}

TEST_F(NavigationTest, ASoundRowOpensThePickScreenAndCancelReturnsToTheSoundsPage) {
    tap(s.sounds_tab);
    program.settle();
    tap(s.sound_rows[4]);
    EXPECT_EQ(s.pending_slot_id, 100u);
    EXPECT_EQ(transition_kind(), int32_t(Transition::PushDown));
    EXPECT_TRUE(s.pick_page->is_visible());
    EXPECT_FALSE(s.main_panel->is_visible());
    program.settle();

    tap(s.cancel_button);
    EXPECT_EQ(s.pending_slot_id, 0u);
    EXPECT_EQ(transition_kind(), int32_t(Transition::PushUp));
    expect_current(s.main_panel, s.sounds_page, s.sounds_tab);
}

TEST_F(NavigationTest, AnUnknownIdentifierOnlyStopsMotionAndRepaints) {
    switch_motion_on();
    program.frame();
    show_screen(control_id::kHomePage, true);
    show_tab(control_id::kMainPanel, false, false);
    show_frame(control_id::kMainPanel, false);
    expect_motion_off();
    expect_current(s.main_panel, s.home_page, s.home_tab);
    EXPECT_TRUE(program.headless_window().is_invalid());
}

}  // namespace
}  // namespace tiltophon
