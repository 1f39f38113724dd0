// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "program/ScreenTreeCheck.h"
#include "screens/ScreensTestKit.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Panel.h"

namespace tiltophon {
namespace {

// The check that the random sessions rely on must itself catch a broken tree, above all
// one where a fault has hidden everything and nothing is left to get wrong.
class ScreenTreeCheckTest : public testing::ProgramTest {
protected:
    void SetUp() override { start(); }
};

TEST_F(ScreenTreeCheckTest, HoldsForTheTreeAsTheProgramLeavesIt) {
    EXPECT_EQ(screen_tree_fault(), "");
    tap(s.settings_tab);
    EXPECT_EQ(screen_tree_fault(), "");
}

TEST_F(ScreenTreeCheckTest, ATreeWithNothingShownIsBroken) {
    for (Panel* each :
         {s.main_panel, s.about_page, s.pick_page, s.home_page, s.sounds_page, s.settings_page}) {
        each->set_visible(false);
    }
    EXPECT_EQ(screen_tree_fault(), "no screen is shown");
}

TEST_F(ScreenTreeCheckTest, TheMainPanelMustShowOneTabPage) {
    s.home_page->set_visible(false);
    EXPECT_EQ(screen_tree_fault(), "the main panel shows no tab page");
    s.home_tab->set_locked(false).set_pressed(false);
    EXPECT_EQ(screen_tree_fault(), "the main panel shows no tab page");

    // Over About the tab pages are not looked at for being shown.
    s.main_panel->set_visible(false);
    s.about_page->set_visible(true);
    EXPECT_EQ(screen_tree_fault(), "");
}

TEST_F(ScreenTreeCheckTest, TwoScreensOrTwoPagesAreBroken) {
    s.pick_page->set_visible(true);
    EXPECT_EQ(screen_tree_fault(), "more than one screen is shown");
    s.pick_page->set_visible(false);
    s.sounds_page->set_visible(true);
    EXPECT_EQ(screen_tree_fault(), "more than one tab page is shown");
}

}  // namespace
}  // namespace tiltophon
