// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "support/PenTestKit.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Picture.h"

namespace tiltophon {
namespace {

using testing::PenTestKit;
using Codes = std::vector<uint16_t>;

class ButtonTest : public ::testing::Test {
protected:
    HeadlessPlatform headless{ScreenInfo{480, 640, 192, 192}};
    PenTestKit kit{headless};
    Bitmap a{2, 2}, b{2, 2}, c{2, 2};
};

TEST_F(ButtonTest, ImageSlotsFillTheirFieldsAndOtherSlotsAreIgnored) {
    Button button(kit.window(), 1);
    button.set_image(&a, 1).set_image(&b, 2).set_image(&c, 3).set_image(&a, 4);
    button.set_image(&b, 9).set_image(&c, 10).set_image(&a, 13);
    const StateImages& images = button.images();
    EXPECT_EQ(images.up, &a);
    EXPECT_EQ(images.up_mask, &b);
    EXPECT_EQ(images.down, &c);
    EXPECT_EQ(images.down_mask, &a);
    EXPECT_EQ(images.disabled, &b);
    EXPECT_EQ(images.disabled_mask, &c);
    EXPECT_EQ(button.icon_image(), &a);

    for (int32_t slot : {0, 5, 6, 7, 8, 11, 12, 14, -1}) button.set_image(&c, slot);
    EXPECT_EQ(images.up, &a);
    EXPECT_EQ(images.up_mask, &b);
    EXPECT_EQ(images.down_mask, &a);
    EXPECT_EQ(images.disabled, &b);
    EXPECT_EQ(button.icon_image(), &a);

    // The icon slot belongs to Buttons alone; a Picture knows only its image and mask.
    CheckButton check(kit.window(), 2);
    check.set_image(&a, 13);
    EXPECT_EQ(check.images().up, nullptr);
    Picture picture(kit.window(), 3);
    picture.set_image(&a, 1).set_image(&b, 2).set_image(&c, 3).set_image(&c, 13);
    EXPECT_EQ(picture.image(), &a);
    EXPECT_EQ(picture.mask(), &b);
}

TEST_F(ButtonTest, EmptyTextsKeepWhatWasThereAndLongOnesAreCut) {
    ButtonEx row(kit.window(), 97);
    row.set_text(u"Drums").set_text(u"");
    row.set_subtext(u"Kick.wav");
    row.set_subtext(u"");
    EXPECT_EQ(row.text(), u"Drums");
    EXPECT_EQ(row.subtext(), u"Kick.wav");

    std::u16string long_name(300, u'x');
    row.set_subtext(long_name);
    EXPECT_EQ(row.subtext().size(), 259u);

    char16_t buffer[260] = {u'?'};
    row.get_subtext(buffer);
    EXPECT_EQ(std::u16string_view(buffer), std::u16string(259, u'x'));
    row.get_text(buffer);
    EXPECT_EQ(std::u16string_view(buffer), u"Drums");
    row.get_subtext(nullptr);  // no buffer, nothing happens
    row.get_text(nullptr);
}

TEST_F(ButtonTest, CheckButtonTogglesOnEachPenDownAndIgnoresTheRest) {
    CheckButton check(kit.window(), 146);
    check.set_rect(260, 448, 200, 60);

    EXPECT_EQ(kit.down(check, 300, 470), 1);
    EXPECT_TRUE(check.is_pressed());
    EXPECT_EQ(kit.move(check, 310, 470), 0);
    EXPECT_EQ(kit.up(check, 310, 470), 0);
    EXPECT_TRUE(check.is_pressed());  // releasing does not undo it
    EXPECT_EQ(kit.down(check, 300, 470), 1);
    EXPECT_FALSE(check.is_pressed());
    EXPECT_EQ(kit.codes(), (Codes{NotifyToggle, NotifyToggle}));

    // Setting the state directly reports nothing.
    check.set_pressed(true);
    EXPECT_EQ(kit.codes().size(), 2u);
}

TEST_F(ButtonTest, LockedOrMissedCheckButtonChangesNothing) {
    CheckButton tab(kit.window(), 32);
    tab.set_rect(0, 532, 160, 108);
    tab.set_locked(true).set_pressed(true);
    headless.windows.pump();

    EXPECT_EQ(kit.down(tab, 80, 580), 0);
    EXPECT_TRUE(tab.is_pressed());
    EXPECT_EQ(kit.down(tab, 80, 100), 0);
    EXPECT_TRUE(tab.is_pressed());
    EXPECT_TRUE(kit.codes().empty());
    EXPECT_FALSE(kit.headless_window().is_invalid());  // a miss does not even repaint

    tab.set_locked(false);
    EXPECT_EQ(kit.down(tab, 80, 580), 1);
    EXPECT_FALSE(tab.is_pressed());
}

}  // namespace
}  // namespace tiltophon
