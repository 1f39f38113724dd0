// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "screens/Commands.h"
#include "screens/ScreensTestKit.h"
#include "vavurud/Button.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {
namespace {

using testing::centre_of;
using testing::ProgramTest;

class StopAllTest : public ProgramTest {
protected:
    void SetUp() override {
        program.store_full_board();
        start();
    }
    HeadlessDevices& devices() { return program.headless.devices; }
};

// Press, hold on virtual time, release: the touch plays, a hold of 0.6 s ends every
// sound once, and the release plays nothing.
TEST_F(StopAllTest, HoldingASlotButtonEndsEverySoundAndKeysZeroAndStopDoToo) {
    struct Case {
        int slot;
        uint32_t held_ms;
        int slide;  // pixels the finger slides off before the time is up
        std::size_t stops;
    };
    for (const Case& c :
         {Case{1, 599, 0, 0}, Case{2, 600, 0, 1}, Case{5, 2000, 0, 1}, Case{3, 900, 200, 0}}) {
        devices().clear();
        const Point p = centre_of(s.slot_buttons[c.slot]);
        const uint32_t down_at = program.headless.clock.tick_count_ms();
        program.pen_down(p.x, p.y);
        if (c.slide) program.pen_move(p.x, p.y + c.slide);
        program.advance(c.held_ms);
        SCOPED_TRACE(c.slot);
        ASSERT_EQ(devices().sounds_stopped().size(), c.stops);
        if (c.stops) {
            EXPECT_EQ(devices().sounds_stopped()[0], down_at + StopAllHoldMs);
        }
        program.pen_up(p.x, p.y + c.slide);
        program.advance(1000);
        EXPECT_EQ(devices().sounds().size(), 1u);
        EXPECT_EQ(devices().sounds_stopped().size(), c.stops);
    }
    devices().clear();
    for (WParam code : {WParam(u'0'), key::kStop}) {
        program.headless_window().post_message(msg::kKeyDown, code, 0);
        program.headless_window().post_message(msg::kKeyUp, code, 0);
        program.headless.windows.pump();
    }
    EXPECT_EQ(devices().sounds_stopped().size(), 2u);
}

class OverlapTest : public ProgramTest {};

// A stored overlap is on from the start; the switch reaches the player at once and is
// saved at close.
TEST_F(OverlapTest, TheSwitchReachesThePlayerAtOnceAndIsSavedAtClose) {
    program.store(u"SoundsOverlap", 1u);
    start();
    EXPECT_TRUE(s.sounds_overlap_check->is_pressed());
    EXPECT_TRUE(program.headless.devices.overlap());
    tap(s.settings_tab);
    program.settle();
    tap(s.sounds_overlap_check);
    EXPECT_FALSE(program.headless.devices.overlap());
    program.close();
    EXPECT_EQ(program.stored_dword(u"SoundsOverlap"), 0u);
}

}  // namespace
}  // namespace tiltophon
