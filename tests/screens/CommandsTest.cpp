// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/KeepAwakeTimer.h"
#include "app/MainWindow.h"
#include "motion/MotionDetector.h"
#include "motion/MotionPolling.h"
#include "motion/TempFolder.h"
#include "screens/Commands.h"
#include "screens/ControlIds.h"
#include "screens/FramePainter.h"
#include "screens/Screens.h"
#include "screens/ScreensTestKit.h"
#include "settings/Settings.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "support/Pixels.h"
#include "vavurud/AnimationClock.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Label.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

using testing::centre_of;
using testing::program_folder;
using testing::ProgramTest;

std::u16string file_name_of(const std::u16string& path) {
    return path.substr(path.rfind(u'/') + 1);
}

std::u16string played(const HeadlessDevices& devices, std::size_t index) {
    auto sounds = devices.sounds();
    if (index >= sounds.size()) return u"(nothing)";
    std::u16string path = sounds[index].path;
    std::size_t name = path.rfind(u'/');
    std::size_t folder = path.rfind(u'/', name - 1);
    return path.substr(folder + 1);
}

class CommandsTest : public ProgramTest {
protected:
    void SetUp() override {
        store_slot(1, u"Drums", u"Kick.wav");
        store_slot(3, u"Bells", u"Chime.wav");
        start();
    }
    LResult command(uint32_t id, NotifyCode code, const Control* sender) {
        return program.window()->send_message(msg::kCommand, command_param(code, id),
                                              reinterpret_cast<LParam>(sender));
    }
    void open_pick_screen(int slot) {
        tap(s.sounds_tab);
        program.settle();
        tap(s.sound_rows[slot]);
        program.settle();
    }
    // Taps the list row whose folder and file are these; false when there is none.
    bool tap_list_item(std::u16string_view folder, std::u16string_view name) {
        SelectList& list = *s.sound_list;
        for (int32_t i = 0; i < list.item_count(); ++i) {
            ListItem item;
            list.get_item(i, item);
            if (item.text.view() != folder || item.subtext.view() != name) continue;
            int32_t y =
                list.y() + i * list.item_height() - list.scroll_offset() + list.item_height() / 2;
            if (y >= list.y() + list.height()) return false;
            program.tap(240, y);
            return list.get_selected() == i;
        }
        return false;
    }
    HeadlessDevices& devices() { return program.headless.devices; }
};

TEST_F(CommandsTest, TheCloseButtonEndsTheProgramOnlyWhenTheOptionIsOn) {
    int stores = program.headless.registry.stores();
    tap(s.close_button);
    EXPECT_TRUE(program.headless_window().is_destroyed());
    EXPECT_EQ(program.headless.registry.stores(), stores + 1);
    EXPECT_TRUE(program.headless.windows.quit_posted());
}

TEST_F(CommandsTest, WithTheOptionOffTheCloseButtonMinimisesAndTheProgramGoesOn) {
    tap(s.settings_tab);
    program.settle();
    tap(s.x_button_close_check);
    ASSERT_FALSE(s.x_button_close_check->is_pressed());
    int stores = program.headless.registry.stores();
    tap(s.close_button);
    EXPECT_EQ(program.headless_window().last_show(), ShowCommand::kMinimize);
    EXPECT_FALSE(program.headless_window().is_destroyed());
    EXPECT_EQ(program.headless.registry.stores(), stores);
}

// Keeps, at the moment a sound starts, the frame then on screen.
class FrameAtPlayback : public SoundPlayer {
public:
    explicit FrameAtPlayback(HeadlessProgram& program) : program_(program) {}
    void play_file(std::u16string_view path) override {
        frame = program_.headless_window().presented_frame();
        program_.headless.devices.play_file(path);
    }
    std::optional<Bitmap> frame;

private:
    HeadlessProgram& program_;
};

TEST_F(CommandsTest, ASlotButtonSoundsOnPenDownWithItsPressedLookAlreadyOnScreen) {
    FrameAtPlayback recorder(program);
    platform().audio = &recorder;
    Point p = centre_of(s.slot_buttons[1]);
    program.pen_down(p.x, p.y);
    EXPECT_EQ(played(devices(), 0), u"Drums/Kick.wav");
    ASSERT_TRUE(recorder.frame.has_value());
    Bitmap pressed(480, 640);
    s.root_panel->paint(pressed);
    ASSERT_TRUE(s.slot_buttons[1]->is_pressed());
    EXPECT_TRUE(test::same_pixels(*recorder.frame, pressed));
    program.pen_up(p.x, p.y);
    EXPECT_EQ(devices().sounds().size(), 1u);
    platform().audio = &devices();
}

TEST_F(CommandsTest, AnEmptySlotShowsItsButtonPressedAndPlaysNothing) {
    Point p = centre_of(s.slot_buttons[2]);
    program.pen_down(p.x, p.y);
    EXPECT_TRUE(s.slot_buttons[2]->is_pressed());
    EXPECT_TRUE(devices().sounds().empty());
}

TEST_F(CommandsTest, APlayButtonPlaysAtOnceAndReleasingElsewhereAddsNothing) {
    tap(s.sounds_tab);
    program.settle();
    Point p = centre_of(s.play_buttons[3]);
    program.pen_down(p.x, p.y);
    EXPECT_EQ(played(devices(), 0), u"Bells/Chime.wav");
    program.pen_move(p.x, p.y + 200);
    program.pen_up(p.x, p.y + 200);
    EXPECT_EQ(devices().sounds().size(), 1u);
    EXPECT_FALSE(s.pick_page->is_visible());
}

TEST_F(CommandsTest, ATappedSoundIsPreviewedAndOkGivesItToTheSlotThatOpenedTheList) {
    open_pick_screen(2);
    ASSERT_TRUE(tap_list_item(u"Bells", u"Ding.wav"));
    EXPECT_EQ(played(devices(), 0), u"Bells/Ding.wav");
    tap(s.ok_button);
    EXPECT_EQ(s.animation_clock->kind(), int32_t(Transition::PushUp));
    EXPECT_TRUE(s.sounds_page->is_visible());
    EXPECT_FALSE(s.pick_page->is_visible());
    const SoundEntry* entry = s.sound_slots->Entry(2);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->FileName.view(), u"Ding.wav");
    EXPECT_EQ(s.sound_rows[2]->text(), u"Bells");
    EXPECT_EQ(s.sound_rows[2]->subtext(), u"Ding.wav");
    EXPECT_EQ(s.sound_rows[2]->icon_image(), entry->SmallImage);
    EXPECT_EQ(s.slot_buttons[2]->icon_image(), entry->BigImage);
}

// The sounds that the player is told to keep ready: the slots' and the preview's.
TEST_F(CommandsTest, TheSlotsSoundsAndTheLastPreviewAreKeptReady) {
    auto last_prepared = [&] {
        std::vector<std::u16string> names;
        auto preparations = devices().preparations();
        if (preparations.empty()) return names;
        for (const std::u16string& path : preparations.back().paths) {
            std::size_t name = path.rfind(u'/');
            names.push_back(path.substr(path.rfind(u'/', name - 1) + 1));
        }
        return names;
    };
    using Names = std::vector<std::u16string>;
    EXPECT_EQ(last_prepared(), (Names{u"Drums/Kick.wav", u"Bells/Chime.wav"}));

    open_pick_screen(2);
    std::size_t before = devices().preparations().size();
    ASSERT_TRUE(tap_list_item(u"Bells", u"Ding.wav"));
    EXPECT_EQ(devices().preparations().size(), before + 1);
    EXPECT_EQ(last_prepared(), (Names{u"Drums/Kick.wav", u"Bells/Chime.wav", u"Bells/Ding.wav"}));
    tap(s.ok_button);
    EXPECT_EQ(last_prepared(), (Names{u"Drums/Kick.wav", u"Bells/Ding.wav", u"Bells/Chime.wav"}));
    EXPECT_EQ(s.preview_entry, nullptr);

    program.settle();
    open_pick_screen(4);
    ASSERT_TRUE(tap_list_item(u"Bells", u"Glock.wav"));
    EXPECT_EQ(last_prepared().back(), u"Bells/Glock.wav");
    tap(s.cancel_button);
    EXPECT_EQ(last_prepared(), (Names{u"Drums/Kick.wav", u"Bells/Ding.wav", u"Bells/Chime.wav"}));
}

TEST_F(CommandsTest, OkWithoutASelectionStaysAndOkAfterCancelAssignsNothing) {
    open_pick_screen(1);
    ASSERT_EQ(s.sound_list->get_selected(), -1);
    tap(s.ok_button);
    EXPECT_TRUE(s.pick_page->is_visible());
    EXPECT_FALSE(s.animation_clock->is_running());

    ASSERT_TRUE(tap_list_item(u"Bells", u"Glock.wav"));
    tap(s.cancel_button);
    program.settle();
    ASSERT_EQ(s.pending_slot_id, 0u);
    // A late OK finds slot 0, assigns nothing, and still returns to the tabbed screen.
    EXPECT_EQ(command(control_id::kOkButton, NotifyClick, s.ok_button), 0);
    EXPECT_EQ(s.sound_slots->Entry(1)->FileName.view(), u"Kick.wav");
    EXPECT_TRUE(s.main_panel->is_visible());
}

TEST_F(CommandsTest, AFlickedListGlidesOnTimer4UntilTouchedAgain) {
    open_pick_screen(1);
    HeadlessWindow& window = program.headless_window();
    program.drag(240, 500, 240, 200, 100);
    ASSERT_TRUE(window.has_timer(ListScrollTimerId));
    EXPECT_EQ(window.timer_period(ListScrollTimerId), 11u);
    EXPECT_TRUE(s.sound_list->is_gliding());
    int32_t offset = s.sound_list->scroll_offset();
    program.advance(33);
    EXPECT_GT(s.sound_list->scroll_offset(), offset);

    program.pen_down(240, 300);
    EXPECT_FALSE(window.has_timer(ListScrollTimerId));
    EXPECT_FALSE(s.sound_list->is_gliding());
    program.pen_up(240, 300);
}

TEST_F(CommandsTest, SensitivitySelectorsSetTheirDetectorsPeakThresholdAtOnce) {
    tap(s.settings_tab);
    program.settle();
    ValueSelector& y = *s.y_sensitivity_selector;
    Rect left = y.left_step_area();
    Rect right = y.right_step_area();
    program.tap(left.left + 5, left.top + 5);
    program.tap(left.left + 5, left.top + 5);
    EXPECT_EQ(y.get_selected_value(), 3);
    EXPECT_EQ(s.detector_y->peak_threshold(), 900);
    for (int i = 0; i < 9; ++i) program.tap(right.left + 5, right.top + 5);
    EXPECT_EQ(y.get_selected_value(), 10);
    EXPECT_EQ(s.detector_y->peak_threshold(), 200);
    EXPECT_EQ(s.detector_x->peak_threshold(), 700);  // the others keep theirs
}

TEST_F(CommandsTest, TouchVibrationsFollowTheirCheckAtOnce) {
    tap(s.settings_tab);
    program.settle();
    tap(s.touch_vibrations_check);
    ASSERT_TRUE(s.touch_vibrations_check->is_pressed());
    EXPECT_TRUE(s.home_tab->vibrate_on_touch());
    EXPECT_TRUE(s.sound_list->vibrate_on_touch());
    EXPECT_FALSE(s.settings_page->vibrate_on_touch());
    EXPECT_FALSE(s.x_axis_label->vibrate_on_touch());

    devices().clear();
    uint32_t now = program.headless.clock.tick_count_ms();
    tap(s.sounds_tab);
    auto pulses = devices().vibrator_switches();
    ASSERT_EQ(pulses.size(), 2u);
    EXPECT_TRUE(pulses[0].on);
    EXPECT_EQ(pulses[0].at_ms, now);
    EXPECT_FALSE(pulses[1].on);
    EXPECT_EQ(pulses[1].at_ms, now + 25);

    program.settle();
    tap(s.settings_tab);
    program.settle();
    tap(s.touch_vibrations_check);
    devices().clear();
    tap(s.home_tab);
    EXPECT_TRUE(devices().vibrator_switches().empty());
}

TEST_F(CommandsTest, TheMotionSwitchStartsDetectionAndKeepsTheDeviceAwake) {
    HeadlessWindow& window = program.headless_window();
    tap(s.motion_toggle);
    EXPECT_EQ(s.motion_toggle->text(), u"On");
    for (uint32_t timer : {kDetectorXTimer, kDetectorYTimer, kDetectorZTimer}) {
        ASSERT_TRUE(window.has_timer(timer));
        EXPECT_EQ(window.timer_period(timer), 50u);
    }
    EXPECT_TRUE(window.has_timer(kKeepAwakeTimerId));

    tap(s.motion_toggle);
    EXPECT_EQ(s.motion_toggle->text(), u"Off");
    EXPECT_FALSE(window.has_timer(kDetectorYTimer));
    EXPECT_FALSE(window.has_timer(kKeepAwakeTimerId));

    tap(s.pulse_toggle);
    EXPECT_EQ(s.pulse_toggle->text(), u"Off");
    tap(s.pulse_toggle);
    EXPECT_EQ(s.pulse_toggle->text(), u"On");
}

TEST_F(CommandsTest, TheScreenIsHeldOnFromTheMotionSwitchUntilItsStopOrTheClose) {
    auto holds = [&] {
        std::vector<bool> on;
        for (const auto& hold : devices().idle_holds()) on.push_back(hold.on);
        return on;
    };
    tap(s.motion_toggle);
    EXPECT_EQ(holds(), std::vector<bool>{true}) << "held from the switch on, not the first tick";
    tap(s.motion_toggle);
    EXPECT_EQ(holds(), (std::vector<bool>{true, false}));

    // A page change stops motion detection and lets the screen go.
    tap(s.motion_toggle);
    tap(s.sounds_tab);
    EXPECT_EQ(holds(), (std::vector<bool>{true, false, true, false}));

    // So does closing the program with motion detection on.
    program.settle();
    tap(s.home_tab);
    program.settle();
    tap(s.motion_toggle);
    ASSERT_TRUE(s.motion_toggle->is_pressed());
    program.close();
    EXPECT_EQ(holds(), (std::vector<bool>{true, false, true, false, true, false}));
}

TEST_F(CommandsTest, CommandsThatNameNoControlAreIgnored) {
    s.motion_toggle->set_pressed(true);
    EXPECT_EQ(command(control_id::kMotionToggle, NotifyToggle, nullptr), 0);
    EXPECT_FALSE(program.headless_window().has_timer(kDetectorXTimer));
    s.x_sensitivity_selector->select(9);
    EXPECT_EQ(command(control_id::kXSensitivitySelector, NotifyChange, nullptr), 0);
    EXPECT_EQ(s.detector_x->peak_threshold(), 700);
    s.touch_vibrations_check->set_pressed(true);
    command(control_id::kTouchVibrationsCheck, NotifyToggle, nullptr);
    EXPECT_FALSE(s.close_button->vibrate_on_touch());
}

TEST_F(CommandsTest, TheDonationButtonStartsTheDefaultBrowserWithTheAddress) {
    tap(s.settings_tab);
    program.settle();
    tap(s.about_button);
    program.settle();
    tap(s.donate_button);
    auto launches = devices().launches();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, u"xdg-open");
    EXPECT_EQ(launches[0].argument, DonationUrl);

    // The browser the system names, quoted or not, without its own arguments.
    program.headless.registry.write_string(RegistryRoot::kLocalMachine, kDefaultBrowserKey,
                                           kDefaultBrowserValue, u"\"/opt/Web Browser/browse\" %1");
    EXPECT_EQ(open_in_browser(u"https://example.org/a b"), 1);
    program.headless.registry.write_string(RegistryRoot::kLocalMachine, kDefaultBrowserKey,
                                           kDefaultBrowserValue, u"firefox --new-tab %u");
    EXPECT_EQ(open_in_browser(DonationUrl), 1);
    launches = devices().launches();
    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches[1].program, u"/opt/Web Browser/browse");
    EXPECT_EQ(launches[1].argument, u"https://example.org/a b");
    EXPECT_EQ(launches[2].program, u"firefox");

    devices().set_spawn_succeeds(false);
    EXPECT_EQ(open_in_browser(DonationUrl), 0);
}

TEST_F(CommandsTest, AnUnquotedBrowserPathWithBlanksIsStartedWholeWhenItNamesAProgram) {
    devices().add_program_file(u"/opt/Web Browser/browse");
    auto browse_with = [&](std::u16string_view command_line) {
        program.headless.registry.write_string(RegistryRoot::kLocalMachine, kDefaultBrowserKey,
                                               kDefaultBrowserValue, command_line);
        devices().clear();
        EXPECT_EQ(open_in_browser(DonationUrl), 1);
        auto launches = devices().launches();
        EXPECT_EQ(launches.size(), 1u);
        return launches.empty() ? std::u16string() : launches.back().program;
    };
    EXPECT_EQ(browse_with(u"/opt/Web Browser/browse"), u"/opt/Web Browser/browse");
    EXPECT_EQ(browse_with(u"  /opt/Web Browser/browse\t"), u"/opt/Web Browser/browse");
    // With arguments after it, or naming no program, the value is cut at the first blank.
    EXPECT_EQ(browse_with(u"/opt/Web Browser/browse %u"), u"/opt/Web");
    EXPECT_EQ(browse_with(u"/opt/Other Browser"), u"/opt/Other");
}

TEST(BrowserProgramTest, TheProgramIsTheQuotedTextOrTheFirstWord) {
    EXPECT_EQ(browser_program(u"\"\\Windows\\iexplore.exe\" %1").view(),
              u"\\Windows\\iexplore.exe");
    EXPECT_EQ(browser_program(u"  /usr/bin/firefox %u").view(), u"/usr/bin/firefox");
    EXPECT_EQ(browser_program(u"\t\"/opt/a b/c").view(), u"/opt/a b/c");  // no closing quote
    EXPECT_EQ(browser_program(u"chromium").view(), u"chromium");
    EXPECT_EQ(browser_program(u"").view(), u"");
    EXPECT_EQ(browser_program(u"   ").view(), u"");
    EXPECT_EQ(browser_program(u"\"\" x").view(), u"");
}

// Two sets that both hold Kick.wav, with Bells first in the bank's order.
class SharedFileNamesTest : public ::testing::Test {
protected:
    SharedFileNamesTest() {
        namespace fs = std::filesystem;
        const fs::path shipped = TILTOPHON_PROGRAM_DIR;
        for (const char* name :
             {"Skin", "splash.png", "about.png", "donate-up.png", "donate-down.png"}) {
            fs::create_directory_symlink(shipped / name, folder.path() / name);
        }
        for (const char* set : {"Bells", "Drums"}) {
            folder.write(std::string("Sounds/") + set + "/Kick.wav", "RIFF");
            for (const char* suffix : {"B.png", "S.png"}) {
                std::string picture = std::string(set) + suffix;
                fs::create_symlink(shipped / "Sounds" / set / picture,
                                   folder.path() / "Sounds" / set / picture);
            }
        }
    }
    void start() { ASSERT_TRUE(program.start()); }

    TempFolder folder;
    HeadlessProgram program{utf16_from_utf8(folder.path().string() + "/")};
    AppState& s = app();
};

TEST_F(SharedFileNamesTest, ChoosingOneSetsFileGivesTheSlotThatVerySound) {
    start();
    ASSERT_EQ(s.sound_list->item_count(), 2);
    program.tap(240, 590);  // Sounds tab
    program.settle();
    Point row = centre_of(s.sound_rows[1]);
    program.tap(row.x, row.y);
    program.settle();
    // Row 2 of the list is Drums/Kick.wav.
    int32_t y = s.sound_list->y() + s.sound_list->item_height() * 3 / 2;
    program.tap(240, y);
    ASSERT_EQ(s.sound_list->get_selected(), 1);
    EXPECT_EQ(file_name_of(program.headless.devices.sounds().at(0).path), u"Kick.wav");
    EXPECT_NE(program.headless.devices.sounds().at(0).path.find(u"/Drums/"), std::u16string::npos);
    Point ok = centre_of(s.ok_button);
    program.tap(ok.x, ok.y);
    ASSERT_NE(s.sound_slots->Entry(1), nullptr);
    EXPECT_EQ(s.sound_slots->Entry(1)->FolderName.view(), u"Drums");
    EXPECT_EQ(s.sound_rows[1]->text(), u"Drums");

    program.settle();
    program.close();
    EXPECT_EQ(program.stored_string(u"SoundSlot1Folder"), u"Drums");
}

}  // namespace
}  // namespace tiltophon
