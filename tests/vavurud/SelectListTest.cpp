// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/PenTestKit.h"
#include "vavurud/SelectList.h"

namespace tiltophon {
namespace {

using testing::Notification;
using testing::PenTestKit;
using Codes = std::vector<uint16_t>;

constexpr uint32_t kListId = 64;
constexpr uint32_t kGlideTimer = 4;
constexpr uint32_t kGlideTickMs = 11;

SelectList* g_list = nullptr;

void glide_tick(Window* window, uint32_t timer_id) {
    if (g_list) g_list->glide_step(window, timer_id);
}

// At 96 dpi design lengths are pixels: rows 40 high, a 10-pixel tap threshold. The
// list is 200 x 400 at (0, 50), so ten rows fill it; list y = window y - 50.
class SelectListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.set_rect(0, 50, 200, 400);
        g_list = &list;
        // The owner's side of the glide, as the pick screen does it.
        kit.on_command([this](Window* window, const Notification& n) {
            if (n.id != kListId) return;
            if (n.code == NotifyDown) list.stop_glide(window, kGlideTimer);
            if (n.code == NotifyUp) list.start_glide(window, kGlideTimer, kGlideTickMs, glide_tick);
        });
    }
    void TearDown() override { g_list = nullptr; }

    void fill(int count) {
        for (int i = 0; i < count; ++i) {
            ListItem item;
            item.text.assign(u"Set ").append(
                std::u16string(1, static_cast<char16_t>(u'A' + i % 26)));
            item.subtext = u"Sound.wav";
            item.value = 1000 + i;
            list.add_item(item);
        }
    }
    // A finger's tap: the next one comes well after the glide timer has ticked.
    void tap(int32_t list_y) {
        kit.tap_at(list, 50, at(list_y));
        kit.advance(50);
    }
    // Window y of a list-relative y.
    static int32_t at(int32_t list_y) { return 50 + list_y; }
    bool glide_timer_runs() const { return kit.headless_window().has_timer(kGlideTimer); }

    HeadlessPlatform headless{ScreenInfo{480, 640, 96, 96}};
    PenTestKit kit{headless};
    SelectList list{kit.window(), kListId};
};

TEST_F(SelectListTest, ATapSelectsTheRowUnderItAtTheCurrentOffset) {
    fill(100);
    // A slow drag of 25 pixels upward leaves the content scrolled by 25.
    kit.drag(list, {50, at(250)}, {50, at(225)}, 1000);
    kit.advance(100);
    ASSERT_EQ(list.scroll_offset(), 25);
    ASSERT_FALSE(list.is_gliding());

    kit.clear();
    tap(20);
    EXPECT_EQ(list.get_selected(), 1);  // (25 + 20) / 40
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyUp, NotifyClick}));

    ListItem item;
    ASSERT_EQ(list.get_item(list.get_selected(), item), 1);
    EXPECT_EQ(item.value, 1001);
    EXPECT_EQ(item.subtext.view(), u"Sound.wav");
    EXPECT_EQ(list.get_item(100, item), 0);
    EXPECT_EQ(list.get_item(-1, item), 0);
}

TEST_F(SelectListTest, ATapBelowTheRowsDeselectsAndAnEmptyListSelectsNothing) {
    tap(10);
    EXPECT_EQ(list.get_selected(), -1);
    EXPECT_EQ(list.visible_rows().end, 0);

    fill(3);
    tap(10);
    EXPECT_EQ(list.get_selected(), 0);
    tap(120);  // rows end at 120
    EXPECT_EQ(list.get_selected(), -1);

    EXPECT_EQ(list.select(2), 1);
    EXPECT_EQ(list.select(3), 0);
    EXPECT_EQ(list.get_selected(), 2);
    list.add_item({});  // adding clears the selection
    EXPECT_EQ(list.get_selected(), -1);
}

TEST_F(SelectListTest, SmallMovesStayATapWhileADragClearsTheSelection) {
    fill(100);
    kit.down(list, 50, at(100));
    kit.move(list, 150, at(110));  // 10 down and far across: still a tap
    kit.up(list, 55, at(105));
    EXPECT_EQ(list.scroll_offset(), 0);
    EXPECT_EQ(list.get_selected(), 2);
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyDrag, NotifyUp, NotifyClick}));
    kit.advance(50);

    // A drag that comes back to where it began still clicks, but selects nothing.
    kit.clear();
    kit.down(list, 50, at(100));
    kit.move(list, 50, at(140));
    kit.move(list, 50, at(100));
    kit.up(list, 50, at(100));
    EXPECT_EQ(list.get_selected(), -1);
    EXPECT_EQ(list.scroll_offset(), 0);
    EXPECT_EQ(kit.codes().back(), NotifyClick);
    kit.advance(50);

    // Released 10 pixels across is no longer a click.
    kit.clear();
    kit.tap_at(list, 50, at(100));
    kit.down(list, 50, at(100));
    kit.up(list, 60, at(100));
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyUp, NotifyClick, NotifyDown, NotifyUp}));
}

TEST_F(SelectListTest, AQuickFlickGlidesSlowsDownAndStopsByItself) {
    fill(100);
    kit.drag(list, {50, at(330)}, {50, at(300)}, 200);
    EXPECT_DOUBLE_EQ(list.velocity(), -0.15);  // 30 pixels up in 200 ms
    EXPECT_EQ(list.scroll_offset(), 30);
    EXPECT_TRUE(list.is_gliding());
    ASSERT_TRUE(glide_timer_runs());
    EXPECT_EQ(kit.headless_window().timer_period(kGlideTimer), kGlideTickMs);

    kit.advance(kGlideTickMs);
    EXPECT_EQ(list.scroll_offset(), 31);  // -0.14868 px/ms x 11 ms, truncated
    EXPECT_TRUE(list.scroll_indicator().has_value());

    int32_t previous = list.scroll_offset();
    double previous_speed = std::fabs(list.velocity());
    for (int tick = 0; tick < 200 && list.is_gliding(); ++tick) {
        kit.advance(kGlideTickMs);
        EXPECT_GE(list.scroll_offset(), previous);
        EXPECT_LT(std::fabs(list.velocity()), previous_speed);
        previous = list.scroll_offset();
        previous_speed = std::fabs(list.velocity());
    }
    EXPECT_FALSE(list.is_gliding());
    EXPECT_FALSE(glide_timer_runs());
    EXPECT_GT(list.scroll_offset(), 60);
    EXPECT_LT(std::fabs(list.velocity()) * kGlideTickMs, 1.0);  // stopped below a pixel a step
    EXPECT_FALSE(list.scroll_indicator().has_value());
}

TEST_F(SelectListTest, OnlyGesturesOfAtMostHalfASecondGlide) {
    fill(100);
    struct Case {
        uint32_t duration_ms;
        bool glides;
    };
    for (Case c : {Case{500, true}, Case{501, false}, Case{600, false}}) {
        kit.drag(list, {50, at(390)}, {50, at(90)}, c.duration_ms);
        int32_t released_at = list.scroll_offset();
        EXPECT_EQ(list.velocity() != 0.0, c.glides) << c.duration_ms << " ms";
        kit.advance(kGlideTickMs);
        EXPECT_EQ(glide_timer_runs(), c.glides) << c.duration_ms << " ms";
        EXPECT_EQ(list.scroll_offset() != released_at, c.glides) << c.duration_ms << " ms";
        kit.advance(2000);
    }
}

TEST_F(SelectListTest, AGestureOfNoMeasurableDurationDoesNotGlide) {
    fill(100);
    kit.drag(list, {50, at(330)}, {50, at(300)}, 0);
    EXPECT_EQ(list.velocity(), 0.0);
    EXPECT_EQ(list.scroll_offset(), 30);
    kit.advance(kGlideTickMs);
    EXPECT_FALSE(glide_timer_runs());
    EXPECT_EQ(list.scroll_offset(), 30);

    // Nor does a plain tap released in the same millisecond.
    kit.tap_at(list, 50, at(30));
    EXPECT_EQ(list.velocity(), 0.0);
}

TEST_F(SelectListTest, AFlickAcrossTheTickCounterWrapKeepsItsSpeed) {
    fill(100);
    headless.clock.set(0xFFFFFFFFu - 100);
    kit.drag(list, {50, at(330)}, {50, at(300)}, 200);
    EXPECT_DOUBLE_EQ(list.velocity(), -0.15);
    kit.advance(kGlideTickMs);
    EXPECT_EQ(list.scroll_offset(), 31);
}

TEST_F(SelectListTest, ContentPulledPastAnEndSnapsBackOnRelease) {
    fill(10'000);  // 400,000 pixels of content, 399,600 of scrolling
    EXPECT_EQ(list.visible_rows().end, 10);
    kit.drag(list, {50, at(100)}, {50, at(200)}, 1000, 5, false);
    EXPECT_EQ(list.scroll_offset(), -100);  // shown shifted down while held
    EXPECT_EQ(list.visible_rows().first, 0);
    Bitmap frame(480, 640);
    list.draw(frame);
    kit.up(list, 50, at(200));
    EXPECT_EQ(list.scroll_offset(), 0);

    // Far past the other end, even by more than the whole list is long.
    kit.drag(list, {50, at(390)}, {50, at(390) - 1'000'000}, 1000);
    EXPECT_EQ(list.scroll_offset(), 399'600);
    EXPECT_EQ(list.visible_rows().first, 9990);
    EXPECT_EQ(list.visible_rows().end, 10'000);
    // Drawing touches the visible rows only, one peeking in at the bottom included.
    kit.drag(list, {50, at(0)}, {50, at(25)}, 1000);
    EXPECT_EQ(list.visible_rows().first, 9989);
    EXPECT_EQ(list.visible_rows().end, 10'000);
}

TEST_F(SelectListTest, AGlideStopsAtTheEndItRunsInto) {
    fill(12);                                           // 480 of content, 80 of scrolling
    kit.drag(list, {50, at(330)}, {50, at(300)}, 100);  // -0.3 px/ms
    kit.advance(1000);
    EXPECT_EQ(list.scroll_offset(), 80);
    EXPECT_FALSE(glide_timer_runs());
    EXPECT_FALSE(list.is_gliding());
}

TEST_F(SelectListTest, ATouchDuringAGlideStopsItAndSelectsNothing) {
    fill(100);
    kit.drag(list, {50, at(330)}, {50, at(300)}, 100);
    kit.advance(3 * kGlideTickMs);
    ASSERT_TRUE(list.is_gliding());
    int32_t offset = list.scroll_offset();

    kit.clear();
    kit.tap_at(list, 50, at(20));
    EXPECT_EQ(list.get_selected(), -1);
    EXPECT_EQ(kit.codes(), (Codes{NotifyDown, NotifyUp, NotifyClick}));
    kit.advance(500);
    EXPECT_FALSE(glide_timer_runs());
    EXPECT_EQ(list.scroll_offset(), offset);

    // The next tap selects again.
    tap(20);
    EXPECT_EQ(list.get_selected(), list.row_at(20));
}

TEST_F(SelectListTest, ContentThatFitsNeverScrollsNorShowsTheIndicator) {
    fill(5);
    kit.drag(list, {50, at(300)}, {50, at(100)}, 1000, 5, false);
    EXPECT_TRUE(list.is_dragging());
    EXPECT_FALSE(list.scroll_indicator().has_value());
    kit.up(list, 50, at(100));
    EXPECT_EQ(list.scroll_offset(), 0);

    // Exactly as tall as the list: still nothing to indicate.
    fill(5);
    kit.drag(list, {50, at(300)}, {50, at(100)}, 100);
    EXPECT_TRUE(list.is_gliding());
    EXPECT_FALSE(list.scroll_indicator().has_value());
    kit.advance(100);
    EXPECT_EQ(list.scroll_offset(), 0);
}

TEST_F(SelectListTest, TheIndicatorSizeAndPlaceFollowTheContent) {
    fill(100);
    // Halfway: 1800 of 3600.
    kit.drag(list, {50, at(399)}, {50, at(399) - 1800}, 1000, 5, false);
    ASSERT_EQ(list.scroll_offset(), 1800);
    auto indicator = list.scroll_indicator();
    ASSERT_TRUE(indicator.has_value());
    // Track 398 high; thumb 398 / 10 = 39; travel 359, half of it 179.
    EXPECT_EQ(*indicator, (Rect{197, 180, 199, 219}));

    // Pulled past the end, the thumb stays at the end of its track.
    kit.move(list, 50, at(399) - 5000);
    EXPECT_EQ(list.scroll_indicator()->top, 1 + 359);

    list.set_show_scrollbar(false);
    EXPECT_FALSE(list.scroll_indicator().has_value());
}

TEST_F(SelectListTest, AListWithoutHeightIsSafeToGlideAndDraw) {
    fill(100);
    list.set_rect(0, 50, 200, 0);
    EXPECT_EQ(kit.down(list, 50, 50), 0);
    list.start_glide(kit.window(), kGlideTimer, kGlideTickMs, glide_tick);
    EXPECT_FALSE(list.scroll_indicator().has_value());
    Bitmap frame(480, 640);
    list.draw(frame);
    kit.advance(100);
    EXPECT_FALSE(glide_timer_runs());
    EXPECT_EQ(list.visible_rows().end, list.visible_rows().first);
}

TEST_F(SelectListTest, InsertedRowsKeepTheSelectionOnItsRow) {
    fill(3);
    list.select(1);
    ListItem added;
    added.value = 7;
    list.insert_item(0, added);
    EXPECT_EQ(list.get_selected(), 2);
    list.insert_item(3, added);
    list.insert_item(99, added);
    EXPECT_EQ(list.get_selected(), 2);
    ASSERT_EQ(list.item_count(), 6);
    std::vector<intptr_t> values;
    for (int32_t i = 0; i < list.item_count(); ++i) {
        ListItem item;
        list.get_item(i, item);
        values.push_back(item.value);
    }
    EXPECT_EQ(values, (std::vector<intptr_t>{7, 1000, 1001, 7, 1002, 7}));
    EXPECT_EQ(list.content_height(), 6 * list.item_height());
}

}  // namespace
}  // namespace tiltophon
