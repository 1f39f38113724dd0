// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/Loader.h"
#include "app/Program.h"
#include "screens/ScreensTestKit.h"
#include "support/Pixels.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {
namespace {

using testing::centre_of;
using testing::program_folder;

// The loader builds the pages on its own thread while the window goes on painting
// the splash screen and taking pen input, as on the real backend.
TEST(ScreensThreadsTest, PagesBuiltOnTheLoaderThreadAppearWholeAndAnswerThePen) {
    HeadlessProgram program(program_folder());
    program.headless.threads.set_inline(false);
    ASSERT_EQ(init_instance(ShowCommand::kNormal), 1);

    // Real time only bounds a hang: under ThreadSanitizer on a busy machine the
    // loader's real work between its virtual pauses can take half a minute.
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    int taps = 0;
    while (!app().is_loaded() && std::chrono::steady_clock::now() < give_up) {
        // Pen input reaches no control while loading (and the title bar takes none
        // afterwards, should the loader end between the test and the tap).
        program.tap(200, 20);
        program.advance(5);
        ++taps;
        std::this_thread::yield();
    }
    wait_for_loader();
    ASSERT_TRUE(app().is_loaded());
    EXPECT_GT(taps, 0);

    AppState& s = app();
    program.headless.windows.pump();
    EXPECT_TRUE(s.home_page->is_visible());
    EXPECT_TRUE(s.home_tab->is_pressed());
    Bitmap live(480, 640);
    s.root_panel->paint(live);
    EXPECT_TRUE(test::same_pixels(program.frame(), live));

    Point sounds = centre_of(s.sounds_tab);
    program.tap(sounds.x, sounds.y);
    program.settle();
    EXPECT_TRUE(s.sounds_page->is_visible());
}

}  // namespace
}  // namespace tiltophon
