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
    uint32_t now() { return program.headless.clock.tick_count_ms(); }
    void key(uint32_t message, WParam code) {
        program.headless_window().post_message(message, code, 0);
        program.headless.windows.pump();
    }
};

// Press, hold for `held_ms` on virtual time, release: what was played and stopped.
TEST_F(StopAllTest, HoldingASlotButtonForAMomentEndsEverySoundAndTheReleasePlaysNothing) {
    struct Case {
        int slot;
        uint32_t held_ms;
        bool slides_off;
        std::size_t stops;
    };
    const Case cases[] = {
        {1, 599, false, 0},  // a tap, however slow, only plays
        {2, 600, false, 1},  // a hold ends everything, once
        {5, 2000, false, 1},
        {3, 900, true, 0},  // a finger that slid off holds nothing
    };
    for (const Case& c : cases) {
        devices().clear();
        const Point p = centre_of(s.slot_buttons[c.slot]);
        const uint32_t down_at = now();
        program.pen_down(p.x, p.y);
        ASSERT_EQ(devices().sounds().size(), 1u) << c.slot;
        if (c.slides_off) program.pen_move(p.x, p.y + 200);
        program.advance(c.held_ms);
        const std::vector<uint32_t> stops = devices().sounds_stopped();
        program.pen_up(p.x, c.slides_off ? p.y + 200 : p.y);
        program.advance(1000);
        EXPECT_EQ(devices().sounds().size(), 1u) << "slot " << c.slot;
        ASSERT_EQ(devices().sounds_stopped().size(), c.stops) << "slot " << c.slot;
        EXPECT_EQ(stops.size(), c.stops) << "slot " << c.slot << ": stopped while held";
        if (c.stops) {
            EXPECT_EQ(stops[0], down_at + StopAllHoldMs);
        }
    }
}

TEST_F(StopAllTest, KeyZeroAndTheStopKeyEndEverySound) {
    key(msg::kKeyDown, u'1');
    key(msg::kKeyUp, u'1');
    key(msg::kKeyDown, u'0');
    key(msg::kKeyUp, u'0');
    key(msg::kKeyDown, key::kStop);
    key(msg::kKeyUp, key::kStop);
    EXPECT_EQ(devices().sounds().size(), 1u);
    EXPECT_EQ(devices().sounds_stopped().size(), 2u);
}

TEST_F(StopAllTest, TheOverlapSwitchReachesThePlayerAtOnceAndIsSavedAtClose) {
    EXPECT_FALSE(s.sounds_overlap_check->is_pressed());
    EXPECT_FALSE(devices().overlap());
    tap(s.settings_tab);
    program.settle();
    tap(s.sounds_overlap_check);
    EXPECT_TRUE(devices().overlap());
    program.close();
    EXPECT_EQ(program.stored_dword(u"SoundsOverlap"), 1u);
}

class StoredOverlapTest : public ProgramTest {};

TEST_F(StoredOverlapTest, AStoredOverlapIsOnFromTheStart) {
    program.store(u"SoundsOverlap", 1u);
    start();
    EXPECT_TRUE(s.sounds_overlap_check->is_pressed());
    EXPECT_TRUE(program.headless.devices.overlap());
}

}  // namespace
}  // namespace tiltophon
