// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "screens/Screens.h"
#include "screens/ScreensTestKit.h"
#include "sound/SoundSlots.h"
#include "vavurud/Button.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {
namespace {

using testing::ProgramTest;

class SlotKeysTest : public ProgramTest {
protected:
    void SetUp() override {
        program.store_full_board();
        store_slot(5, u"", u"");
        start();
    }
    void press(WParam key) {
        program.headless_window().press_key(key);
        program.headless.windows.pump();
    }
    void release(WParam key) {
        program.headless_window().release_key(key);
        program.headless.windows.pump();
    }
    HeadlessDevices& devices() { return program.headless.devices; }
};

TEST_F(SlotKeysTest, KeysOneToFivePlayTheirSlotsAsTouchingTheSlotButtonsDoes) {
    for (int slot = 1; slot <= 4; ++slot) {
        press(u'0' + slot);
        ASSERT_EQ(devices().sounds().size(), std::size_t(slot));
        EXPECT_EQ(devices().sounds().back().path, s.sound_slots->Entry(slot)->FilePath.view());
        // The button looks pressed while the key is down, on the frame already shown.
        EXPECT_TRUE(s.slot_buttons[slot]->is_pressed());
        release(u'0' + slot);
        EXPECT_FALSE(s.slot_buttons[slot]->is_pressed());
    }
    // An empty slot shows its button pressed and plays nothing, as a touch does.
    press(u'5');
    EXPECT_TRUE(s.slot_buttons[5]->is_pressed());
    EXPECT_EQ(devices().sounds().size(), 4u);
    release(u'5');

    for (WParam other : {WParam(u'0'), WParam(u'6'), WParam(u'9'), WParam(u'a'), WParam(1)}) {
        press(other);
        release(other);
    }
    EXPECT_EQ(devices().sounds().size(), 4u);
}

TEST_F(SlotKeysTest, AKeyGivesTheTouchPulseOnlyWhenTouchVibrationsAreOn) {
    press(u'1');
    EXPECT_TRUE(devices().vibrator_switches().empty());
    release(u'1');

    set_touch_vibration(true);
    uint32_t now = program.headless.clock.tick_count_ms();
    press(u'2');
    auto pulses = devices().vibrator_switches();
    ASSERT_EQ(pulses.size(), 2u);
    EXPECT_EQ(pulses[0].at_ms, now);
    EXPECT_EQ(pulses[1].at_ms, now + 25);
    // The sound starts before the pulse, as on a touch.
    EXPECT_EQ(devices().sounds().back().at_ms, now);
}

TEST_F(SlotKeysTest, KeysWorkOnEveryPage) {
    tap(s.settings_tab);
    program.settle();
    press(u'3');
    EXPECT_EQ(devices().sounds().size(), 1u);
    release(u'3');
}

}  // namespace
}  // namespace tiltophon
