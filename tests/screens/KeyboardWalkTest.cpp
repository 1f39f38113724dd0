// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole program from the keyboard alone, on the headless backend: every page is
// reached and every control on it used without a pointer.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "screens/Screens.h"
#include "screens/ScreensTestKit.h"
#include "settings/Skin.h"
#include "support/Pixels.h"
#include "sound/SoundSlots.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

using testing::is_shown;
using testing::ProgramTest;

class KeyboardWalkTest : public ProgramTest {
protected:
    void SetUp() override {
        program.store_full_board();
        start();
    }
    void key(uintptr_t code, intptr_t flags = 0) {
        program.key(code, flags);
        program.settle();
    }
    // Tabs on until the control has the focus; fails when a whole round misses it.
    void tab_to(const Control* control) {
        for (std::size_t i = 0; i <= focus_order().size(); ++i) {
            if (s.keyboard_focus == control) return;
            key(key::kTab);
        }
        FAIL() << "Tab never reaches control " << control->id();
    }
    std::size_t sounds() { return program.headless.devices.sounds().size(); }
};

TEST_F(KeyboardWalkTest, EveryControlOfEveryPageWorksFromTheKeyboard) {
    // Home, in reading order; Tab and Shift+Tab go round.
    const std::vector<Control*> home = {
        s.close_button,    s.slot_buttons[1], s.slot_buttons[4], s.slot_buttons[5],
        s.slot_buttons[2], s.slot_buttons[3], s.pulse_toggle,    s.motion_toggle,
        s.home_tab,        s.sounds_tab,      s.settings_tab};
    EXPECT_EQ(focus_order(), home);
    key(key::kTab, key::kShift);
    EXPECT_EQ(s.keyboard_focus, home.back());
    key(key::kTab);
    EXPECT_EQ(s.keyboard_focus, home.front());

    // A slot plays, both switches switch.
    tab_to(s.slot_buttons[2]);
    key(key::kEnter);
    ASSERT_EQ(sounds(), 1u);
    EXPECT_EQ(program.headless.devices.sounds().back().path,
              s.sound_slots->Entry(2)->FilePath.view());
    const bool pulse = s.pulse_toggle->is_pressed();
    tab_to(s.pulse_toggle);
    key(key::kSpace);
    EXPECT_NE(s.pulse_toggle->is_pressed(), pulse);
    tab_to(s.motion_toggle);
    key(key::kEnter);
    EXPECT_EQ(s.motion_toggle->text(), u"On");

    // Sounds: a play button plays; a row opens the pick screen, where the arrows choose
    // (each step previews, as a tap does), Enter takes the sound and Escape cancels.
    tab_to(s.sounds_tab);
    key(key::kEnter);
    tab_to(s.play_buttons[4]);
    key(key::kEnter);
    EXPECT_EQ(sounds(), 2u);
    tab_to(s.sound_rows[3]);
    key(key::kEnter);
    ASSERT_TRUE(is_shown(s.sound_list));
    for (uintptr_t arrow : {key::kDown, key::kDown, key::kDown, key::kUp}) key(arrow);
    EXPECT_EQ(s.sound_list->get_selected(), 1);
    EXPECT_EQ(sounds(), 6u);
    ListItem chosen;
    ASSERT_EQ(s.sound_list->get_item(1, chosen), 1);
    key(key::kEnter);
    EXPECT_TRUE(is_shown(s.sounds_page));
    EXPECT_EQ(s.sound_slots->Entry(3)->FileName.view(), chosen.subtext.view());
    tab_to(s.sound_rows[1]);
    const std::u16string before = s.sound_slots->Entry(1)->FileName.str();
    for (uintptr_t k : {key::kEnter, key::kDown, key::kEscape}) key(k);
    EXPECT_TRUE(is_shown(s.sounds_page));
    EXPECT_EQ(s.sound_slots->Entry(1)->FileName.view(), before);

    // Settings: Left and Right step each selector, Space switches each check button.
    tab_to(s.settings_tab);
    key(key::kSpace);
    for (ValueSelector* selector :
         {s.x_sensitivity_selector, s.y_sensitivity_selector, s.z_sensitivity_selector}) {
        const int32_t value = selector->get_selected_value();
        tab_to(selector);
        key(key::kRight);
        EXPECT_EQ(selector->get_selected_value(), value + 1);
        key(key::kLeft);
        key(key::kLeft);
        EXPECT_EQ(selector->get_selected_value(), value - 1);
    }
    for (CheckButton* check : {s.x_button_close_check, s.animations_check, s.touch_vibrations_check}) {
        const bool was = check->is_pressed();
        tab_to(check);
        key(key::kSpace);
        EXPECT_NE(check->is_pressed(), was);
    }

    // About: the donate button starts the browser, Escape goes back.
    tab_to(s.about_button);
    key(key::kEnter);
    ASSERT_TRUE(is_shown(s.about_page));
    tab_to(s.donate_button);
    key(key::kEnter);
    EXPECT_EQ(program.headless.devices.launches().size(), 1u);
    key(key::kEscape);
    EXPECT_TRUE(is_shown(s.settings_page));

    // The slot keys keep their meaning wherever the focus is.
    const std::size_t played = sounds();
    program.key(u'1');
    EXPECT_EQ(sounds(), played + 1);
}

TEST_F(KeyboardWalkTest, TheFocusRingAppearsWithTheFirstKeyAndStaysInsideItsControl) {
    const Bitmap untouched = program.frame();
    program.key(u'7');  // not a key that moves the focus
    EXPECT_TRUE(test::same_pixels(program.frame(), untouched));

    key(key::kTab);
    const Bitmap& ringed = program.frame();
    const Rect focus = s.keyboard_focus->get_rect();
    const uint32_t accent = pixel_from_colour(s.skin->accent_colour());
    EXPECT_EQ(ringed.pixel(focus.left, focus.top), accent);
    EXPECT_EQ(ringed.pixel(focus.right - 1, focus.bottom - 1), accent);
    for (int32_t y = 0; y < ringed.height(); ++y) {
        for (int32_t x = 0; x < ringed.width(); ++x) {
            if (!focus.contains(x, y)) {
                ASSERT_EQ(ringed.pixel(x, y), untouched.pixel(x, y));
            }
        }
    }
}

// A minute of auto-repeat at 30 keys a second: a held Enter presses once, the focus
// keeps going round, and the list stops at its ends with the selected row in view.
TEST_F(KeyboardWalkTest, KeysHeldDownForAMinute) {
    constexpr int kRepeats = 60 * 30;
    auto hold = [&](uintptr_t code) {
        for (int i = 0; i < kRepeats; ++i) program.key(code, key::kRepeat);
    };
    tab_to(s.slot_buttons[1]);
    program.key(key::kEnter);
    hold(key::kEnter);
    EXPECT_EQ(sounds(), 1u);

    const std::vector<Control*> order = focus_order();
    const auto start = std::find(order.begin(), order.end(), s.keyboard_focus) - order.begin();
    hold(key::kTab);
    EXPECT_EQ(s.keyboard_focus, order[(start + kRepeats) % order.size()]);

    tap(s.sounds_tab);
    program.settle();
    tap(s.sound_rows[1]);
    program.settle();
    hold(key::kDown);
    const int32_t last = s.sound_list->item_count() - 1;
    EXPECT_EQ(s.sound_list->get_selected(), last);
    EXPECT_EQ(s.sound_list->row_at(s.sound_list->height() - 1), last);
    hold(key::kUp);
    EXPECT_EQ(s.sound_list->get_selected(), 0);
    EXPECT_EQ(s.sound_list->scroll_offset(), 0);
}

}  // namespace
}  // namespace tiltophon
