// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "support/PenTestKit.h"
#include "vavurud/Button.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Label.h"
#include "vavurud/Panel.h"
#include "vavurud/Picture.h"

namespace tiltophon {
namespace {

using testing::PenTestKit;
using Codes = std::vector<uint16_t>;

class ControlRoutingTest : public ::testing::Test {
protected:
    HeadlessPlatform headless{ScreenInfo{480, 640, 96, 96}};
    PenTestKit kit{headless};

    // Marks the window clean so that a test can see whether something asked for a repaint.
    void settle() { headless.windows.pump(); }
    bool repaint_requested() const { return kit.headless_window().is_invalid(); }
};

TEST_F(ControlRoutingTest, LeavingAPressedButtonReleasesItForGood) {
    Button button(kit.window(), 7);
    button.set_rect(10, 10, 100, 50);

    EXPECT_EQ(kit.down(button, 20, 20), 1);
    EXPECT_TRUE(button.is_pressed());
    EXPECT_EQ(kit.move(button, 200, 200), 1);  // the move that leaves still reports
    EXPECT_FALSE(button.is_pressed());
    EXPECT_EQ(kit.move(button, 20, 20), 0);  // coming back does not press it again
    EXPECT_EQ(kit.up(button, 20, 20), 0);

    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyDrag}));
    EXPECT_FALSE(button.is_pressed());
}

TEST_F(ControlRoutingTest, ATapReportsDownUpClickWithTheIdInTheLowWord) {
    Button button(kit.window(), 35);
    button.set_rect(10, 10, 100, 50);
    kit.tap_at(button, 109, 59);  // right and bottom are exclusive: last pixel inside

    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyUp, NotifyClick}));
    EXPECT_EQ(kit.command_params().back(), 262179u);  // (4 << 16) + 35
    EXPECT_EQ(kit.notifications().back().control, &button);

    // Only the low 16 bits of an identifier travel.
    Button wide(kit.window(), 0x10000 + 35);
    wide.set_rect(10, 10, 100, 50);
    kit.clear();
    kit.tap_at(wide, 20, 20);
    EXPECT_EQ(kit.command_params().back(), 262179u);

    kit.clear();
    kit.tap_at(button, 110, 20);
    EXPECT_TRUE(kit.codes().empty());
}

TEST_F(ControlRoutingTest, MissesAndReleasesElsewhereRepaintButReportNothing) {
    Button button(kit.window(), 7);
    button.set_rect(10, 10, 100, 50);
    settle();
    EXPECT_EQ(kit.down(button, 5, 5), 0);
    EXPECT_TRUE(repaint_requested());

    // Released elsewhere without a move in between: the pressed look goes too.
    kit.down(button, 20, 20);
    settle();
    EXPECT_EQ(kit.up(button, 300, 300), 0);
    EXPECT_FALSE(button.is_pressed());
    EXPECT_TRUE(repaint_requested());
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown}));
}

TEST_F(ControlRoutingTest, InertControlsTakeNoPen) {
    Button disabled(kit.window(), 1);
    disabled.set_rect(0, 0, 100, 100);
    disabled.set_enabled(false);
    Button hidden(kit.window(), 2);
    hidden.set_rect(0, 0, 100, 100);
    hidden.set_visible(false);
    Label label(kit.window(), 3);
    label.set_rect(0, 0, 100, 100);
    Picture picture(kit.window(), 4);
    picture.set_rect(0, 0, 100, 100);

    for (Control* control : std::initializer_list<Control*>{&disabled, &hidden, &label, &picture}) {
        EXPECT_EQ(kit.down(*control, 50, 50), 0) << "id " << control->id();
        EXPECT_EQ(kit.up(*control, 50, 50), 0) << "id " << control->id();
    }
    EXPECT_TRUE(kit.codes().empty());
}

TEST_F(ControlRoutingTest, AHiddenPanelPassesNothingEvenToVisibleChildren) {
    Panel root(kit.window(), 1);
    Panel page(kit.window(), 2);
    Button button(kit.window(), 3);
    button.set_rect(0, 0, 100, 100);
    page.add_child(&button);
    root.add_child(&page);
    page.set_visible(false);

    EXPECT_EQ(kit.down(root, 50, 50), 0);
    EXPECT_FALSE(button.is_pressed());
    EXPECT_TRUE(kit.codes().empty());

    page.set_visible(true);
    EXPECT_EQ(kit.down(root, 50, 50), 1);
    EXPECT_EQ(button.parent(), &page);
    EXPECT_EQ(kit.codes_of(3), (Codes{NotifyDown}));
}

TEST_F(ControlRoutingTest, EveryEligibleChildSeesThePenAndTheLastOneAnswers) {
    Panel panel(kit.window(), 1);
    Button lower(kit.window(), 10);
    lower.set_rect(0, 0, 100, 100);
    Button upper(kit.window(), 11);
    upper.set_rect(50, 50, 100, 100);
    Button elsewhere(kit.window(), 12);
    elsewhere.set_rect(300, 300, 10, 10);
    Button disabled(kit.window(), 13);
    disabled.set_rect(0, 0, 200, 200);
    disabled.set_enabled(false);
    panel.add_child(&lower);
    panel.add_child(nullptr);
    panel.add_child(&upper);
    panel.add_child(&disabled);

    // Both overlapping buttons are pressed by one pen-down.
    EXPECT_EQ(kit.down(panel, 75, 75), 1);
    EXPECT_EQ(kit.codes_of(10), (Codes{NotifyDown}));
    EXPECT_EQ(kit.codes_of(11), (Codes{NotifyDown}));
    EXPECT_TRUE(kit.codes_of(13).empty());
    EXPECT_EQ(kit.up(panel, 75, 75), 1);
    EXPECT_EQ(kit.codes_of(10), (Codes{NotifyDown, NotifyUp, NotifyClick}));
    EXPECT_EQ(kit.codes_of(11), (Codes{NotifyDown, NotifyUp, NotifyClick}));

    // The Panel answers with its last child's result, even when an earlier one acted.
    panel.add_child(&elsewhere);
    EXPECT_EQ(kit.down(panel, 75, 75), 0);
    EXPECT_TRUE(lower.is_pressed());
    EXPECT_EQ(panel.children().size(), 4u);
}

TEST_F(ControlRoutingTest, AVibratingChildPulsesOnlyWhenItTakesThePenDown) {
    Panel panel(kit.window(), 1);
    Button quiet(kit.window(), 10);
    quiet.set_rect(0, 0, 100, 100);
    Button buzzing(kit.window(), 11);
    buzzing.set_rect(200, 0, 100, 100).set_vibrate_on_touch(true);
    CheckButton locked(kit.window(), 12);
    locked.set_locked(true).set_rect(400, 0, 50, 50).set_vibrate_on_touch(true);
    panel.add_child(&quiet);
    panel.add_child(&buzzing);
    panel.add_child(&locked);

    kit.tap_at(panel, 50, 50);   // handled, but this child does not vibrate
    kit.tap_at(panel, 150, 50);  // nobody handles it
    kit.tap_at(panel, 420, 20);  // the locked check button refuses it
    EXPECT_TRUE(headless.devices.vibrator_switches().empty());

    uint32_t start = kit.now();
    kit.down(panel, 250, 50);
    auto switches = headless.devices.vibrator_switches();
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_TRUE(switches[0].on);
    EXPECT_EQ(switches[0].at_ms, start);
    EXPECT_FALSE(switches[1].on);
    EXPECT_EQ(switches[1].at_ms, start + 25);

    kit.move(panel, 260, 50);
    kit.up(panel, 260, 50);
    EXPECT_EQ(headless.devices.vibrator_switches().size(), 2u);  // down only
}

}  // namespace
}  // namespace tiltophon
