// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <limits>

#include "support/PenTestKit.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

using testing::PenTestKit;
using Codes = std::vector<uint16_t>;

// The settings page's selector: 200 x 60 at (260, 102), values "1" to "10".
class ValueSelectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        selector.set_rect(260, 102, 200, 60);
        for (const char16_t* v : {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}) {
            selector.add_value(v);
        }
    }

    void press_left() { kit.tap_at(selector, 280, 130); }
    void press_right() { kit.tap_at(selector, 440, 130); }

    HeadlessPlatform headless{ScreenInfo{480, 640, 192, 192}};
    PenTestKit kit{headless};
    ValueSelector selector{kit.window(), 132};
};

TEST_F(ValueSelectorTest, StepsStopAtBothEndsButStillReportTheChange) {
    selector.select(9);
    press_right();
    EXPECT_EQ(selector.get_selected_value(), 10);
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyUp, NotifyChange}));

    press_left();
    EXPECT_EQ(selector.get_selected_value(), 9);

    selector.select(0);
    kit.clear();
    press_left();
    EXPECT_EQ(selector.get_selected_value(), 1);
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyUp, NotifyChange}));
    EXPECT_FALSE(selector.is_pressed());
    EXPECT_FALSE(selector.left_pressed());
}

TEST_F(ValueSelectorTest, FromNoSelectionRightPicksTheFirstAndLeftKeepsNone) {
    press_left();
    EXPECT_EQ(selector.selected(), -1);
    EXPECT_EQ(selector.get_selected_value(), 0);
    press_right();
    EXPECT_EQ(selector.selected(), 0);

    // Any negative index means none; stepping on from it reaches the first value.
    selector.select(-4);
    EXPECT_EQ(selector.get_selected_value(), 0);
    press_right();
    EXPECT_EQ(selector.selected(), 0);
}

TEST_F(ValueSelectorTest, SelectIgnoresIndicesPastTheLastValue) {
    selector.select(9);
    selector.select(10);
    EXPECT_EQ(selector.selected(), 9);
    char16_t buffer[260] = {};
    selector.get_selected_text(buffer);
    EXPECT_EQ(std::u16string_view(buffer), u"10");
    selector.get_selected_text(nullptr);

    selector.select(-1);
    buffer[0] = u'?';
    buffer[1] = 0;
    selector.get_selected_text(buffer);
    EXPECT_EQ(std::u16string_view(buffer), u"?");

    ValueSelector empty(kit.window(), 133);
    empty.select(0);
    empty.select_next();
    EXPECT_EQ(empty.selected(), -1);
    EXPECT_EQ(empty.get_selected_value(), 0);
}

TEST_F(ValueSelectorTest, APressCompletesOnlyWhereItBegan) {
    selector.select(4);
    EXPECT_EQ(kit.down(selector, 280, 130), 1);
    EXPECT_TRUE(selector.left_pressed());
    EXPECT_EQ(kit.move(selector, 440, 130), 0);  // sliding does nothing
    EXPECT_EQ(kit.up(selector, 440, 130), 0);
    EXPECT_EQ(selector.selected(), 4);
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown}));
    EXPECT_FALSE(selector.is_pressed());

    // The value area between the step areas takes no press.
    EXPECT_EQ(kit.down(selector, 360, 130), 0);
    EXPECT_EQ(kit.up(selector, 360, 130), 0);
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown}));

    // A release on the bottom edge is outside: right and bottom are exclusive.
    kit.down(selector, 440, 130);
    EXPECT_EQ(kit.up(selector, 440, 162), 0);
    EXPECT_EQ(selector.selected(), 4);
}

TEST_F(ValueSelectorTest, OverlappingStepAreasGoToTheLeftEnd) {
    ValueSelector narrow(kit.window(), 134);
    narrow.set_rect(0, 0, 80, 60);  // left 0..60, right 20..80
    narrow.add_value(u"a").add_value(u"b").select(1);
    kit.tap_at(narrow, 30, 30);
    EXPECT_EQ(narrow.selected(), 0);
    kit.tap_at(narrow, 70, 30);
    EXPECT_EQ(narrow.selected(), 1);

    EXPECT_EQ(narrow.value_area().left, 60 + 4);  // inside the default text margin
    EXPECT_EQ(narrow.value_area().right, 20 - 4);
}

TEST_F(ValueSelectorTest, ValuesAreReadAsDecimalNumbers) {
    EXPECT_EQ(parse_decimal(u"10"), 10);
    EXPECT_EQ(parse_decimal(u" \t+42abc"), 42);
    EXPECT_EQ(parse_decimal(u"-7"), -7);
    EXPECT_EQ(parse_decimal(u"- 5"), 0);
    EXPECT_EQ(parse_decimal(u"99999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(parse_decimal(u"-99999999999"), std::numeric_limits<int32_t>::min());

    ValueSelector odd(kit.window(), 135);
    std::u16string long_value = u"  12" + std::u16string(300, u'9');
    odd.add_value(long_value).select(0);
    char16_t buffer[260] = {};
    odd.get_selected_text(buffer);
    EXPECT_EQ(std::u16string_view(buffer).size(), 259u);
    EXPECT_EQ(odd.get_selected_value(), std::numeric_limits<int32_t>::max());
}

}  // namespace
}  // namespace tiltophon
