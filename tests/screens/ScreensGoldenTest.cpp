// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reference pictures of every page, of one frame of each transition and of each
// control class, drawn with the default skin and sounds on a 480 x 640, 192-dpi
// screen, and of every page on a phone's 480 x 960. TILTOPHON_UPDATE_GOLDEN=1 rewrites
// them (look at them before committing).

#include <gtest/gtest.h>

#include <string>

#include "screens/FramePainter.h"
#include "screens/ScreensTestKit.h"
#include "sound/SoundSlots.h"
#include "support/Golden.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

using testing::ProgramTest;

// The part of `picture` inside `rect`.
Bitmap crop(const Bitmap& picture, const Rect& rect) {
    Bitmap part(rect.width(), rect.height());
    copy_block(part, 0, 0, rect.width(), rect.height(), picture, rect.left, rect.top);
    return part;
}

// Every `step`-th pixel of every `step`-th row.
Bitmap shrink(const Bitmap& picture, int32_t step) {
    Bitmap small(picture.width() / step, picture.height() / step);
    for (int32_t y = 0; y < small.height(); ++y) {
        for (int32_t x = 0; x < small.width(); ++x) {
            small.set_pixel(x, y, picture.pixel(x * step, y * step));
        }
    }
    return small;
}

class ScreensGoldenTest : public ProgramTest {
protected:
    explicit ScreensGoldenTest(ScreenInfo screen = {480, 640, 192, 192}) : ProgramTest(screen) {}
    void SetUp() override {
        program.store_full_board();
        start();
    }
    Bitmap settled_frame() {
        program.settle();
        return program.frame();
    }
    // Every page in turn, each compared with the golden image NAME + `suffix`.
    void expect_every_page(const std::string& suffix) {
        EXPECT_TRUE(test::matches_golden(settled_frame(), "page_home" + suffix));
        tap(s.sounds_tab);
        EXPECT_TRUE(test::matches_golden(settled_frame(), "page_sounds" + suffix));
        tap(s.settings_tab);
        EXPECT_TRUE(test::matches_golden(settled_frame(), "page_settings" + suffix));
        tap(s.about_button);
        EXPECT_TRUE(test::matches_golden(settled_frame(), "page_about" + suffix));
        tap(s.back_button);
        tap(s.sounds_tab);
        program.settle();
        tap(s.sound_rows[2]);
        program.settle();
        // A flick leaves the list gliding with its scroll indicator up; a row chosen
        // meanwhile shows selected.
        int32_t middle = s.sound_list->get_rect().top + 428;
        program.drag(240, middle, 240, middle - 100, 60);
        ASSERT_TRUE(s.sound_list->is_gliding());
        s.sound_list->select(3);
        s.sound_list->invalidate();
        EXPECT_TRUE(test::matches_golden(program.frame(), "page_pick" + suffix));
    }
    // The control alone over black, cut out at its own size.
    Bitmap control_picture(Control& control) {
        Bitmap picture(480, 640);
        control.draw(picture);
        return crop(picture, control.get_rect());
    }
};

TEST_F(ScreensGoldenTest, EveryPage) {
    expect_every_page("");
}

class ScreensGoldenOnPhoneTest : public ScreensGoldenTest {
protected:
    ScreensGoldenOnPhoneTest() : ScreensGoldenTest({480, 960, 192, 192}) {}
};

// The pages of a 720 x 1440 phone.
TEST_F(ScreensGoldenOnPhoneTest, EveryPage) {
    expect_every_page("_480x960");
}

TEST_F(ScreensGoldenTest, OneFrameOfEachTransition) {
    Bitmap home = settled_frame();
    tap(s.sounds_tab);
    Bitmap sounds = settled_frame();
    // A 4 x 4 sheet of the sixteen kinds at a quarter size, kind 1 at the top left:
    // the sliding kinds a quarter of the way, fades and boxes halfway.
    Bitmap sheet(480, 640);
    for (int32_t kind = 1; kind <= 16; ++kind) {
        Bitmap frame(480, 640);
        double t = kind <= 12 ? 0.25 : 0.5;
        ASSERT_TRUE(compose_transition(frame, home, sounds, kind, t, 480, 640));
        Bitmap small = shrink(frame, 4);
        int32_t cell = kind - 1;
        copy_block(sheet, (cell % 4) * 120, (cell / 4) * 160, 120, 160, small, 0, 0);
    }
    EXPECT_TRUE(test::matches_golden(sheet, "transitions"));
}

TEST_F(ScreensGoldenTest, ControlClasses) {
    Button& close = *s.close_button;
    EXPECT_TRUE(test::matches_golden(control_picture(close), "control_button_up"));
    close.set_pressed(true);
    EXPECT_TRUE(test::matches_golden(control_picture(close), "control_button_pressed"));
    Button& about = *s.about_button;
    about.set_enabled(false);
    EXPECT_TRUE(test::matches_golden(control_picture(about), "control_button_disabled"));
    EXPECT_TRUE(test::matches_golden(control_picture(*s.slot_buttons[2]), "control_button_icon"));
    // A bottom-bar button at its skin picture's full width, captioned and pressed.
    Button& captioned = *s.back_button;
    captioned.set_text(u"OK");
    captioned.set_pressed(true);
    EXPECT_TRUE(test::matches_golden(control_picture(captioned), "control_button_caption"));
    EXPECT_TRUE(
        test::matches_golden(control_picture(*s.sound_rows[4]), "control_button_two_lines"));
    EXPECT_TRUE(
        test::matches_golden(control_picture(*s.x_button_close_check), "control_check_checked"));
    EXPECT_TRUE(test::matches_golden(control_picture(*s.pulse_toggle), "control_switch_on"));

    ValueSelector& selector = *s.z_sensitivity_selector;
    EXPECT_TRUE(test::matches_golden(control_picture(selector), "control_selector"));
    Rect left = selector.left_step_area();
    selector.on_pen_down(nullptr, 0, left.left + 4, left.top + 4);
    EXPECT_TRUE(test::matches_golden(control_picture(selector), "control_selector_left_held"));
}

}  // namespace
}  // namespace tiltophon
