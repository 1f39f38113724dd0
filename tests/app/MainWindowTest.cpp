// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "app/AppState.h"
#include "app/KeepAwakeTimer.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/SplashScreen.h"
#include "program/HeadlessPlatform.h"
#include "settings/Settings.h"
#include "vavurud/AnimationClock.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Panel.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

// A control that records what reaches it.
class RecordingControl : public Control {
public:
    using Control::Control;
    void draw(DrawContext&) override { ++draws; }
    int pen_down(Window*, uint32_t, int32_t x, int32_t y) override { return record('d', x, y); }
    int pen_up(Window*, uint32_t, int32_t x, int32_t y) override { return record('u', x, y); }
    int pen_move(Window*, uint32_t, int32_t x, int32_t y) override { return record('m', x, y); }

    struct Event {
        char kind;
        Point at;
        friend bool operator==(const Event&, const Event&) = default;
    };
    std::vector<Event> events;
    int draws = 0;

private:
    int record(char kind, int32_t x, int32_t y) {
        events.push_back({kind, {x, y}});
        return 1;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    // The window as its creation leaves it: loading, with no loader running.
    void create_only() {
        window = headless.windows.create_window(kWindowClass, kWindowTitle, window_proc);
        create_buffers(window);
    }
    // The whole start; the loader runs to its end inside it.
    void start() {
        ASSERT_EQ(init_instance(ShowCommand::kNormal), 1);
        window = app().main_window;
        ASSERT_TRUE(app().is_loaded());
    }
    // A root panel with one recording child over the whole screen.
    RecordingControl& add_root_panel() {
        Panel* root = app().make_owned<Panel>(window, 1);
        root->set_rect(0, 0, 480, 640);
        auto* child = app().make_owned<RecordingControl>(window, 2);
        child->set_rect(0, 0, 480, 640);
        root->add_child(child);
        app().root_panel = root;
        return *child;
    }
    LResult send(uint32_t message, WParam first = 0, LParam second = 0) {
        return window->send_message(message, first, second);
    }
    HeadlessWindow& headless_window() { return *headless.windows.window(); }

    HeadlessPlatform headless;
    Window* window = nullptr;
};

TEST_F(MainWindowTest, CreationPreparesSplashKeepAwakeTimerAndAnimationClock) {
    create_only();
    AppState& state = app();
    EXPECT_EQ(state.main_window, window);
    EXPECT_FALSE(state.is_loaded());
    ASSERT_NE(state.splash, nullptr);
    ASSERT_NE(state.keep_awake, nullptr);
    EXPECT_FALSE(state.keep_awake->is_running());
    ASSERT_NE(state.animation_clock, nullptr);
    EXPECT_EQ(state.animation_clock->kind(), 1);
    EXPECT_EQ(state.frame_buffer.width(), 480);
    EXPECT_EQ(state.incoming_buffer.height(), 640);

    // The keep-awake timer belongs to the window that was being created.
    state.keep_awake->start();
    EXPECT_TRUE(headless_window().has_timer(kKeepAwakeTimerId));
}

TEST_F(MainWindowTest, StartShowsTheWindowLoadsAndPaintsTheFirstFrame) {
    start();
    EXPECT_EQ(headless_window().last_show(), ShowCommand::kNormal);
    EXPECT_GE(headless_window().present_count(), 1);
    EXPECT_EQ(headless_window().presented_frame().width(), 480);
    ASSERT_NE(app().settings, nullptr);
    EXPECT_EQ(app().settings->SensitivityX, 5);
    EXPECT_EQ(app().splash->progress().percent, 100u);
}

TEST_F(MainWindowTest, ASecondStartRaisesTheRunningOneAndCreatesNothing) {
    headless.windows.set_other_instance_running(true);
    EXPECT_EQ(run_program(), 0);
    EXPECT_EQ(headless.windows.raise_requests(), 1);
    EXPECT_EQ(headless.windows.window(), nullptr);
    EXPECT_EQ(headless.threads.started(), 0);
    EXPECT_EQ(app().splash, nullptr);
}

TEST_F(MainWindowTest, ActivationComparesTheWholeFirstParameter) {
    create_only();
    headless.windows.set_orientation_support(7, 1);  // the display is turned

    send(msg::kActivate, 2);
    EXPECT_TRUE(headless_window().is_full_screen());
    EXPECT_EQ(headless.windows.query_orientation(), 0);
    EXPECT_EQ(saved_orientation(), 1);

    send(msg::kActivate, 0);
    EXPECT_FALSE(headless_window().is_full_screen());
    EXPECT_EQ(headless.windows.query_orientation(), 1);

    send(msg::kActivate, 1);
    EXPECT_TRUE(headless_window().is_full_screen());
    EXPECT_EQ(headless.windows.query_orientation(), 0);

    // Active in the low half, but not as a whole.
    send(msg::kActivate, 0x10001);
    EXPECT_FALSE(headless_window().is_full_screen());
    EXPECT_EQ(headless.windows.query_orientation(), 1);
}

TEST_F(MainWindowTest, OrientationIsLeftAloneWhenNothingWasSavedOrNothingIsSupported) {
    create_only();
    headless.windows.set_orientation_support(7, 1);
    send(msg::kActivate, 0);  // before any activation: nothing saved
    EXPECT_EQ(headless.windows.query_orientation(), 1);

    headless.windows.set_orientation_support(-1, 2);
    send(msg::kActivate, 1);
    EXPECT_EQ(headless.windows.query_orientation(), 2);
    EXPECT_EQ(set_orientation(0), 0);
}

TEST_F(MainWindowTest, DeactivationSwitchesMotionOffAndALaterActivationKeepsItOff) {
    start();
    CheckButton* toggle = app().make_owned<CheckButton>(window, 89);
    toggle->set_pressed(true).set_text(u"On");
    app().motion_toggle = toggle;
    app().keep_awake->start();

    send(msg::kActivate, 0);
    EXPECT_FALSE(toggle->is_pressed());
    EXPECT_EQ(toggle->text(), u"Off");
    EXPECT_FALSE(app().keep_awake->is_running());
    EXPECT_FALSE(headless_window().has_timer(kKeepAwakeTimerId));

    send(msg::kActivate, 1);
    EXPECT_FALSE(toggle->is_pressed());
    EXPECT_FALSE(app().keep_awake->is_running());
}

TEST_F(MainWindowTest, DeactivationWhileLoadingLeavesTheControlsAlone) {
    create_only();
    CheckButton* toggle = app().make_owned<CheckButton>(window, 89);
    toggle->set_pressed(true).set_text(u"On");
    app().motion_toggle = toggle;
    app().keep_awake->start();

    send(msg::kActivate, 0);
    EXPECT_TRUE(toggle->is_pressed());
    EXPECT_EQ(toggle->text(), u"On");
    EXPECT_FALSE(app().keep_awake->is_running());
}

TEST_F(MainWindowTest, WhileLoadingPaintShowsTheSplashAndPenMessagesOnlyRecordThePoint) {
    create_only();
    RecordingControl& child = add_root_panel();

    send(msg::kPaint);
    EXPECT_EQ(child.draws, 0);
    EXPECT_EQ(headless_window().present_count(), 1);
    EXPECT_EQ(headless_window().presented_frame().width(), 480);
    EXPECT_EQ(headless_window().presented_frame().height(), 640);

    EXPECT_EQ(send(msg::kPenDown, 0, make_point_param(10, 20)), 0);
    send(msg::kPenMove, 0, make_point_param(11, 21));
    send(msg::kPenUp, 0, make_point_param(12, 22));
    EXPECT_EQ(app().last_pen_down, (Point{10, 20}));
    EXPECT_EQ(app().last_pen_move, (Point{11, 21}));
    EXPECT_EQ(app().last_pen_up, (Point{12, 22}));
    EXPECT_TRUE(child.events.empty());

    app().loading.store(false, std::memory_order_release);
    send(msg::kPaint);
    EXPECT_EQ(child.draws, 1);
}

TEST_F(MainWindowTest, OnceLoadedPenMessagesReachTheRootPanelWithUnsignedCoordinates) {
    start();
    RecordingControl& child = add_root_panel();
    // Positions off the window's left or top edge arrive as large unsigned values.
    EXPECT_EQ(send(msg::kPenDown, 0, make_point_param(30, 40)), 0);
    send(msg::kPenMove, 0, make_point_param(0xFFFF, 41));
    send(msg::kPenUp, 0, make_point_param(32, 0xFFFE));
    using E = RecordingControl::Event;
    EXPECT_EQ(child.events,
              (std::vector<E>{{'d', {30, 40}}, {'m', {65535, 41}}, {'u', {32, 65534}}}));
    EXPECT_EQ(app().last_pen_move, (Point{65535, 41}));
}

TEST_F(MainWindowTest, CloseSavesTheSettingsThenTheWindowIsTornDown) {
    start();
    // The settings are read back from the controls.
    app().x_sensitivity_selector->select(8);
    send(msg::kClose);

    EXPECT_EQ(headless.registry.stores(), 1);
    uint32_t stored = 0;
    headless.registry.read_dword(kSettingsRoot, kSettingsKey, u"SensitivityX", stored);
    EXPECT_EQ(stored, 9u);
    EXPECT_TRUE(headless_window().is_destroyed());
    EXPECT_TRUE(headless.windows.quit_posted());
    EXPECT_EQ(headless.windows.exit_code(), 0);
    EXPECT_EQ(app().frame_buffer.width(), 0);
    EXPECT_EQ(app().outgoing_buffer.width(), 0);
    EXPECT_EQ(app().incoming_buffer.width(), 0);
}

TEST_F(MainWindowTest, ACloseWhileLoadingSavesNothing) {
    create_only();
    // As if the loader had made the record but not yet finished.
    app().settings = app().make_owned<Settings>();
    send(msg::kClose);
    EXPECT_EQ(headless.registry.stores(), 0);
    EXPECT_TRUE(headless_window().is_destroyed());
    EXPECT_TRUE(headless.windows.quit_posted());
}

TEST_F(MainWindowTest, TeardownItselfSavesNothing) {
    start();
    send(msg::kDestroy);
    EXPECT_EQ(headless.registry.stores(), 0);
    EXPECT_EQ(app().frame_buffer.width(), 0);
    EXPECT_TRUE(headless.windows.quit_posted());
    EXPECT_EQ(headless.windows.exit_code(), 0);
}

}  // namespace
}  // namespace tiltophon
