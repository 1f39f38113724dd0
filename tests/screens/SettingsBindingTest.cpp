// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "motion/MotionDetector.h"
#include "motion/TempFolder.h"
#include "screens/Screens.h"
#include "screens/ScreensTestKit.h"
#include "settings/Settings.h"
#include "sound/SoundSlots.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

using testing::ProgramTest;

constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);

std::u16string selected_text(const ValueSelector* selector) {
    char16_t buffer[260] = {};
    selector->get_selected_text(buffer);
    return buffer;
}

class SettingsBindingTest : public ProgramTest {};

TEST_F(SettingsBindingTest, AFirstStartShowsTheDefaults) {
    start();
    for (const ValueSelector* selector :
         {s.x_sensitivity_selector, s.y_sensitivity_selector, s.z_sensitivity_selector}) {
        EXPECT_EQ(selector->value_count(), 10);
        EXPECT_EQ(selected_text(selector), u"5");
    }
    EXPECT_TRUE(s.x_button_close_check->is_pressed());
    EXPECT_TRUE(s.animations_check->is_pressed());
    EXPECT_FALSE(s.touch_vibrations_check->is_pressed());
    EXPECT_TRUE(s.pulse_toggle->is_pressed());
    EXPECT_EQ(s.pulse_toggle->text(), u"On");
    EXPECT_FALSE(s.motion_toggle->is_pressed());
    EXPECT_FALSE(s.close_button->vibrate_on_touch());
    EXPECT_FALSE(s.sound_rows[3]->vibrate_on_touch());
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(s.sound_rows[n]->text(), u"");
        EXPECT_EQ(s.slot_buttons[n]->icon_image(), nullptr);
    }
    EXPECT_EQ(s.detector_x->peak_threshold(), 700);
}

TEST_F(SettingsBindingTest, OutOfRangeSensitivitiesShowNothingAndAreSavedAsZero) {
    program.store(u"SensitivityZ", 0u);
    program.store(u"SensitivityX", 11u);
    program.store(u"SensitivityY", 3u);
    start();
    EXPECT_EQ(s.z_sensitivity_selector->selected(), -1);
    EXPECT_EQ(s.x_sensitivity_selector->selected(), -1);
    EXPECT_EQ(selected_text(s.y_sensitivity_selector), u"3");
    EXPECT_EQ(s.detector_z->peak_threshold(), 800);
    EXPECT_EQ(s.detector_x->peak_threshold(), 800);
    EXPECT_EQ(s.detector_y->peak_threshold(), 900);
    program.close();
    EXPECT_EQ(program.stored_dword(u"SensitivityZ"), 0u);
    EXPECT_EQ(program.stored_dword(u"SensitivityX"), 0u);
    EXPECT_EQ(program.stored_dword(u"SensitivityY"), 3u);
}

TEST_F(SettingsBindingTest, SlotsComeBackByFolderAndNameAndAMissingSoundIsKeptButSilent) {
    store_slot(1, u"Drums", u"Snare.wav");
    store_slot(2, u"Drums", u"Gone.wav");
    // An old record without a folder still finds its sound by the file name.
    store_slot(3, u"", u"Chime.wav");
    start();
    ASSERT_NE(s.sound_slots->Entry(1), nullptr);
    EXPECT_EQ(s.sound_rows[1]->subtext(), u"Snare.wav");
    EXPECT_EQ(s.slot_buttons[1]->icon_image(), s.sound_slots->Entry(1)->BigImage);
    EXPECT_EQ(s.sound_slots->Entry(2), nullptr);
    EXPECT_EQ(s.sound_rows[2]->text(), u"");
    EXPECT_EQ(s.sound_rows[2]->subtext(), u"");
    EXPECT_EQ(s.slot_buttons[2]->icon_image(), nullptr);
    EXPECT_EQ(s.sound_rows[3]->text(), u"Bells");
    tap(s.slot_buttons[2]);
    EXPECT_TRUE(program.headless.devices.sounds().empty()) << "an empty slot played";
    program.close();
    EXPECT_EQ(program.stored_string(u"SoundSlot1Folder"), u"Drums");
    EXPECT_EQ(program.stored_string(u"SoundSlot1Name"), u"Snare.wav");
    // The sound that was not there is saved again, for the start at which it is.
    EXPECT_EQ(program.stored_string(u"SoundSlot2Folder"), u"Drums");
    EXPECT_EQ(program.stored_string(u"SoundSlot2Name"), u"Gone.wav");
    EXPECT_EQ(program.stored_string(u"SoundSlot3Folder"), u"Bells");
}

// A program folder like the built one whose Sounds folder holds only the given sets.
class ProgramFolderWithSets {
public:
    ProgramFolderWithSets() {
        namespace fs = std::filesystem;
        const fs::path built(TILTOPHON_PROGRAM_DIR);
        for (const fs::directory_entry& entry : fs::directory_iterator(built)) {
            if (entry.path().filename() != "Sounds") {
                fs::create_directory_symlink(entry.path(), folder.path() / entry.path().filename());
            }
        }
        fs::create_directory(folder.path() / "Sounds");
    }
    void add_set(const std::string& set) {
        std::filesystem::create_directory_symlink(
            std::filesystem::path(TILTOPHON_PROGRAM_DIR) / "Sounds" / set,
            folder.path() / "Sounds" / set);
    }
    std::u16string path() const { return utf16_from_utf8(folder.path().string() + "/"); }

private:
    TempFolder folder;
};

TEST(SettingsBindingRestartTest, ASoundWhoseSetIsAwayForOneStartComesBackWithTheSet) {
    ProgramFolderWithSets program_folder;
    program_folder.add_set("Bells");
    std::u16string saved_folder;
    std::u16string saved_name;
    {
        HeadlessProgram program(program_folder.path());
        program.store_slot(2, u"Drums", u"Snare.wav");
        ASSERT_TRUE(program.start());
        EXPECT_EQ(app().sound_slots->Entry(2), nullptr);
        EXPECT_EQ(app().sound_rows[2]->text(), u"");
        program.close();
        saved_folder = program.stored_string(u"SoundSlot2Folder");
        saved_name = program.stored_string(u"SoundSlot2Name");
    }
    program_folder.add_set("Drums");
    HeadlessProgram program(program_folder.path());
    program.store_slot(2, saved_folder, saved_name);
    ASSERT_TRUE(program.start());
    const SoundEntry* entry = app().sound_slots->Entry(2);
    ASSERT_NE(entry, nullptr) << "the sound did not come back";
    EXPECT_EQ(entry->FolderName.view(), u"Drums");
    EXPECT_EQ(entry->FileName.view(), u"Snare.wav");
    EXPECT_EQ(app().sound_rows[2]->text(), u"Drums");
}

TEST_F(SettingsBindingTest, ASoundPickedForASlotWhoseSoundWasMissingReplacesIt) {
    store_slot(4, u"Drums", u"Gone.wav");
    start();
    tap(s.sounds_tab);
    program.settle();
    tap(s.sound_rows[4]);
    program.settle();
    s.sound_list->select(0);
    tap(s.ok_button);
    program.settle();
    ASSERT_NE(s.sound_slots->Entry(4), nullptr);
    program.close();
    EXPECT_EQ(program.stored_string(u"SoundSlot4Folder"), s.sound_slots->Entry(4)->FolderName.view());
    EXPECT_EQ(program.stored_string(u"SoundSlot4Name"), s.sound_slots->Entry(4)->FileName.view());
}

TEST_F(SettingsBindingTest, WhatTheControlsShowAtCloseIsSaved) {
    program.store(u"PulseVibrationsOn", 0u);
    start();
    EXPECT_EQ(s.pulse_toggle->text(), u"Off");
    tap(s.pulse_toggle);
    tap(s.settings_tab);
    program.settle();
    tap(s.touch_vibrations_check);
    tap(s.animations_check);
    Rect right = s.x_sensitivity_selector->right_step_area();
    program.tap(right.left + 4, right.top + 4);
    program.close();
    EXPECT_EQ(program.stored_dword(u"SensitivityX"), 6u);
    EXPECT_EQ(program.stored_dword(u"SensitivityY"), 5u);
    EXPECT_EQ(program.stored_dword(u"VibrationsOn"), 1u);
    EXPECT_EQ(program.stored_dword(u"AnimationsOn"), 0u);
    EXPECT_EQ(program.stored_dword(u"PulseVibrationsOn"), 1u);
    EXPECT_EQ(program.stored_dword(u"XButtonClose"), 1u);
}

// Every control in the tree: the Panels, then the rest.
void collect(Control* control, std::vector<Panel*>& panels, std::vector<Control*>& others) {
    if (auto* panel = dynamic_cast<Panel*>(control)) {
        panels.push_back(panel);
        for (Control* child : panel->children()) collect(child, panels, others);
    } else {
        others.push_back(control);
    }
}

TEST_F(SettingsBindingTest, SavedTouchVibrationsReachEveryInteractiveControlAtStart) {
    program.store(u"VibrationsOn", 1u);
    start();
    std::vector<Panel*> panels;
    std::vector<Control*> controls;
    collect(s.root_panel, panels, controls);
    int interactive = 0;
    for (const Control* control : controls) {
        // Pictures and Labels take no pen and so give no vibration.
        EXPECT_EQ(control->vibrate_on_touch(), control->accepts_pen()) << control->id();
        interactive += control->accepts_pen();
    }
    EXPECT_EQ(interactive, 35);
    for (const Panel* panel : panels) EXPECT_FALSE(panel->vibrate_on_touch()) << panel->id();
}

TEST_F(SettingsBindingTest, BeforeTheSettingsReachTheControlsNothingIsCollected) {
    program.store(u"SensitivityX", 8u);
    start();
    Settings& settings = *s.settings;
    s.settings_applied = false;  // as if applying had stopped at a missing object
    s.x_sensitivity_selector->select(-1);
    EXPECT_EQ(collect_settings(), 0);
    EXPECT_EQ(settings.SensitivityX, 8);

    s.settings_applied = true;
    EXPECT_EQ(collect_settings(), 0);
    EXPECT_EQ(settings.SensitivityX, 0);
}

TEST_F(SettingsBindingTest, AMissingObjectStopsTheBindingThere) {
    start();
    s.x_sensitivity_selector->select(9);
    s.detector_x->set_peak_threshold(123);
    s.detector_y = nullptr;
    EXPECT_EQ(apply_settings(), kOutOfMemory);
    // The X detector was done before the missing one; the selectors were not reached.
    EXPECT_EQ(s.detector_x->peak_threshold(), 700);
    EXPECT_EQ(s.x_sensitivity_selector->selected(), 9);

    Settings& settings = *s.settings;
    s.animations_check->set_pressed(false);
    s.sound_rows[3] = nullptr;
    EXPECT_EQ(collect_settings(), kOutOfMemory);
    EXPECT_TRUE(settings.AnimationsOn);

    s.settings = nullptr;
    EXPECT_EQ(apply_settings(), kOutOfMemory);
    EXPECT_EQ(collect_settings(), kOutOfMemory);
}

}  // namespace
}  // namespace tiltophon
