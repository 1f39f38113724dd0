// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "screens/ScreensTestKit.h"
#include "sound/SlotPresentation.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/SelectList.h"

namespace tiltophon {
namespace {

// The presentation on its own: a hand-made bank and the controls it fills.
class SlotPresentationTest : public ::testing::Test {
protected:
    SlotPresentationTest() {
        Window* window = headless.windows.create_window(
            u"T", u"T",
            [](Window* w, uint32_t m, WParam f, LParam s) { return w->default_proc(m, f, s); });
        s.main_window = window;
        s.sound_bank = s.make_owned<SoundBank>();
        s.sound_slots = s.make_owned<SoundSlots>();
        s.sound_bank->AddEntry(u"Bells", u"Kick.wav", u"/s/Bells/Kick.wav", &big_bells,
                               &small_bells);
        s.sound_bank->AddEntry(u"Drums", u"Kick.wav", u"/s/Drums/Kick.wav", &big_drums,
                               &small_drums);
        s.sound_bank->AddEntry(u"Drums", u"Tom.wav", u"/s/Drums/Tom.wav", &big_drums, &small_drums);
        for (int n = 1; n <= 5; ++n) {
            s.slot_buttons[n] = s.make_owned<Button>(window, 79 + n);
            s.sound_rows[n] = s.make_owned<ButtonEx>(window, 96 + n);
        }
        s.sound_list = s.make_owned<SelectList>(window, 64);
    }

    HeadlessPlatform headless;
    AppState& s = app();
    Bitmap big_bells{4, 4}, small_bells{2, 2}, big_drums{4, 4}, small_drums{2, 2};
};

TEST_F(SlotPresentationTest, AShownSlotPutsItsSoundOnItsButtonAndRow) {
    AssignSlot(4, u"Drums", u"Kick.wav");
    EXPECT_EQ(ShowSlot(4), 1);
    EXPECT_EQ(s.slot_buttons[4]->icon_image(), &big_drums);
    EXPECT_EQ(s.sound_rows[4]->icon_image(), &small_drums);
    EXPECT_EQ(s.sound_rows[4]->text(), u"Drums");
    EXPECT_EQ(s.sound_rows[4]->subtext(), u"Kick.wav");
    // Nothing else moves.
    EXPECT_EQ(s.slot_buttons[3]->icon_image(), nullptr);
    EXPECT_EQ(s.sound_rows[5]->text(), u"");
}

TEST_F(SlotPresentationTest, AnEmptyOrInvalidSlotLeavesTheControlsAsTheyAre) {
    AssignSlot(2, u"Bells", u"Kick.wav");
    ShowSlot(2);
    AssignSlot(2, u"Gone.wav");  // the slot empties
    EXPECT_EQ(ShowSlot(2), 0);
    EXPECT_EQ(s.sound_rows[2]->text(), u"Bells");
    EXPECT_EQ(s.slot_buttons[2]->icon_image(), &big_bells);
    EXPECT_EQ(ShowSlot(0), 0);
    EXPECT_EQ(ShowSlot(6), 0);
    s.sound_slots = nullptr;
    EXPECT_EQ(ShowSlot(1), 0);
}

TEST_F(SlotPresentationTest, TheListHoldsEveryBankEntryInBankOrderWithNothingSelected) {
    s.sound_list->add_item({});
    s.sound_list->select(0);
    FillSoundList();
    ASSERT_EQ(s.sound_list->item_count(), 4);
    EXPECT_EQ(s.sound_list->get_selected(), -1);
    ListItem item;
    ASSERT_TRUE(s.sound_list->get_item(2, item));
    EXPECT_EQ(item.text.view(), u"Drums");
    EXPECT_EQ(item.subtext.view(), u"Kick.wav");
    EXPECT_EQ(item.image, &small_drums);
    // The row keeps the very entry it was made from.
    EXPECT_EQ(reinterpret_cast<const SoundEntry*>(item.value), s.sound_bank->EntryAt(1));

    // Without a bank the list is only cleared of its selection.
    s.sound_bank = nullptr;
    s.sound_list->select(1);
    FillSoundList();
    EXPECT_EQ(s.sound_list->item_count(), 4);
    EXPECT_EQ(s.sound_list->get_selected(), -1);
}

}  // namespace
}  // namespace tiltophon
