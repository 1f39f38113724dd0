// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "app/Loader.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/SplashScreen.h"
#include "motion/TempFolder.h"
#include "program/HeadlessPlatform.h"
#include "platform/posix/FileRegistry.h"
#include "settings/Settings.h"
#include "support/ReadFile.h"

namespace tiltophon {
namespace {

HeadlessClock* g_clock = nullptr;
uint32_t g_work_per_step_ms = 0;
std::vector<uint32_t> g_work_started_at;

void timed_work() {
    g_work_started_at.push_back(g_clock->tick_count_ms());
    g_clock->advance(g_work_per_step_ms);
}

// Eleven steps whose work takes a given virtual time.
std::array<LoaderStep, 11> timed_steps() {
    std::array<LoaderStep, 11> steps{};
    for (uint32_t i = 0; i < steps.size(); ++i) steps[i] = {u"step", i * 10, timed_work};
    return steps;
}

class LoaderTest : public ::testing::Test {
protected:
    LoaderTest() {
        g_clock = &headless.clock;
        g_work_started_at.clear();
        window = headless.windows.create_window(kWindowClass, kWindowTitle, window_proc);
        app().main_window = window;
    }
    ~LoaderTest() override { g_clock = nullptr; }

    HeadlessPlatform headless;
    Window* window = nullptr;
};

TEST_F(LoaderTest, QuickWorkStillKeepsTheSplashForTheMinimumTime) {
    headless.clock.set(0xFFFFFF00u);  // the tick counter wraps during the start
    g_work_per_step_ms = 300 / 11 + 1;
    std::array<LoaderStep, 11> steps = timed_steps();
    ASSERT_TRUE(!app().is_loaded());

    EXPECT_EQ(run_loader(steps), 1u);
    EXPECT_TRUE(app().is_loaded());
    EXPECT_EQ(headless.clock.tick_count_ms() - 0xFFFFFF00u, kLoaderMinimumMs);
    EXPECT_TRUE(headless.windows.window()->is_invalid());
    // Each step's work starts after the previous step's pause.
    ASSERT_EQ(g_work_started_at.size(), 11u);
    EXPECT_EQ(g_work_started_at[1] - g_work_started_at[0], g_work_per_step_ms + kLoaderStepPauseMs);
}

TEST_F(LoaderTest, SlowWorkShowsThePagesRightAfterTheLastStep) {
    headless.clock.set(500);
    g_work_per_step_ms = 3000 / 11 + 1;
    std::array<LoaderStep, 11> steps = timed_steps();
    run_loader(steps);
    EXPECT_TRUE(app().is_loaded());
    EXPECT_EQ(headless.clock.tick_count_ms(), 500 + 11 * (g_work_per_step_ms + kLoaderStepPauseMs));
}

// Waits (without sleeping) until the loader thread shows a step other than
// `previous` and has begun the pause after it; gives what it shows.
SplashScreen::Progress wait_for_next_pause(HeadlessClock& clock,
                                           const SplashScreen::Progress& previous) {
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        SplashScreen::Progress shown = app().splash->progress();
        bool changed = shown.message != previous.message || shown.percent != previous.percent;
        if ((changed && clock.sleepers() == 1) || std::chrono::steady_clock::now() > give_up) {
            return shown;
        }
        std::this_thread::yield();
    }
}

// Ends blocking mode and wakes whoever waits in it.
void release_sleepers(HeadlessClock& clock) {
    clock.set_blocking_sleeps(false);
    clock.advance(0);
}

class LoaderThreadsTest : public ::testing::Test {
protected:
    LoaderThreadsTest() {
        headless.threads.set_inline(false);
        headless.clock.set_blocking_sleeps(true);
    }
    ~LoaderThreadsTest() override {
        release_sleepers(headless.clock);
        wait_for_loader();
    }
    HeadlessPlatform headless;
};

TEST_F(LoaderThreadsTest, ElevenStepsAreShownInOrderWhileTheWindowPaintsTheSplash) {
    ASSERT_EQ(init_instance(ShowCommand::kNormal), 1);
    const std::vector<std::pair<std::u16string, uint32_t>> expected = {
        {u"Loading...", 0},           {u"Init HTC Sensor...", 10},   {u"Loading Settings...", 20},
        {u"Loading Skin...", 30},     {u"Loading SoundBank...", 40}, {u"Init SoundSlots...", 50},
        {u"Init ZovurIzadud...", 60}, {u"Init VavurUD...", 70},      {u"Apply VavurUD Data...", 80},
        {u"Apply Settings...", 90},   {u"Init Screen...", 100},
    };
    std::vector<std::pair<std::u16string, uint32_t>> shown;
    SplashScreen::Progress progress;
    for (std::size_t step = 0; step < expected.size(); ++step) {
        progress = wait_for_next_pause(headless.clock, progress);
        shown.emplace_back(progress.message.str(), progress.percent);
        // Every step asks for a repaint, and the window keeps painting the splash
        // screen while the loader works. (The first request may have been met by
        // the start's own first paint.)
        EXPECT_FALSE(app().is_loaded());
        int presents = headless.windows.window()->present_count();
        headless.windows.pump();
        if (step > 0) {
            EXPECT_EQ(headless.windows.window()->present_count(), presents + 1);
        }
        headless.clock.advance(kLoaderStepPauseMs);
    }
    EXPECT_EQ(shown, expected);

    // The rest of the two seconds, whether the loader has begun that wait yet or not.
    const uint32_t started = 0;
    headless.clock.advance(kLoaderMinimumMs - 11 * kLoaderStepPauseMs - 1);
    EXPECT_FALSE(app().is_loaded());
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!app().is_loaded() && std::chrono::steady_clock::now() < give_up) {
        headless.clock.advance(1);
        std::this_thread::yield();
    }
    wait_for_loader();
    EXPECT_TRUE(app().is_loaded());
    EXPECT_GE(headless.clock.tick_count_ms() - started, kLoaderMinimumMs);
    EXPECT_EQ(app().settings->SensitivityY, 5);
}

TEST_F(LoaderThreadsTest, ACloseDuringLoadingStopsTheLoaderAndLeavesTheStoredFileAsItWas) {
    TempFolder folder;
    FileRegistry registry(folder.file("registry.reg"));
    const std::string stored =
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n"
        "\"SensitivityX\"=dword:00000008\n";
    folder.write("registry.reg", stored);
    headless.services().registry = &registry;
    install_platform(headless.services());

    ASSERT_EQ(init_instance(ShowCommand::kNormal), 1);
    // Let the loader get past "Loading Settings...", so the record exists.
    SplashScreen::Progress progress;
    for (int step = 0; step < 5; ++step) {
        progress = wait_for_next_pause(headless.clock, progress);
        if (step < 4) headless.clock.advance(kLoaderStepPauseMs);
    }
    ASSERT_EQ(progress.message.view(), u"Loading SoundBank...");
    ASSERT_NE(app().settings, nullptr);

    // Once the close has asked the loader to stop, its pause may end.
    std::thread release([this] {
        while (!loader_stop_requested()) std::this_thread::yield();
        release_sleepers(headless.clock);
    });
    app().main_window->send_message(msg::kClose, 0, 0);
    release.join();

    EXPECT_TRUE(app().is_loaded());
    EXPECT_TRUE(headless.windows.window()->is_destroyed());
    EXPECT_TRUE(headless.windows.quit_posted());
    EXPECT_EQ(read_file(registry.path()), stored);
    // The steps after the close never ran.
    EXPECT_EQ(app().splash->progress().message.view(), u"Loading SoundBank...");
}

}  // namespace
}  // namespace tiltophon
