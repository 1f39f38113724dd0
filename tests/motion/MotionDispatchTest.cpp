// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppState.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionMessage.h"
#include "program/HeadlessPlatform.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {
namespace {

class MotionDispatchTest : public ::testing::Test {
protected:
    MotionDispatchTest() {
        for (int n = 1; n <= 5; ++n) {
            std::u16string name = u"Slot" + std::u16string(1, char16_t(u'0' + n)) + u".wav";
            bank.AddEntry(u"Set", name, u"/s/Set/" + name, nullptr, nullptr);
        }
        app().sound_bank = &bank;
        app().sound_slots = &slots;
        for (int n = 1; n <= 5; ++n) slots.entries[n - 1] = bank.EntryAt(n - 1);
        window = platform.windows.create_window(
            u"TiltophonClass", u"Tiltophon",
            [](Window*, uint32_t, WParam, LParam) -> LResult { return 0; });
        pulse_toggle = std::make_unique<CheckButton>(window, 49);
    }

    LResult motion(WParam code) { return on_motion_message(window, kMotionMessage, code, 0); }

    std::vector<std::u16string> played() const {
        std::vector<std::u16string> paths;
        for (auto& sound : platform.devices.sounds()) paths.push_back(sound.path);
        return paths;
    }

    HeadlessPlatform platform;
    SoundBank bank;
    SoundSlots slots;
    Window* window = nullptr;
    std::unique_ptr<CheckButton> pulse_toggle;
};

TEST_F(MotionDispatchTest, EachDirectionPlaysTheSlotOnItsSideOfTheGrid) {
    for (WParam code = 1; code <= 5; ++code) EXPECT_EQ(motion(code), 0);
    EXPECT_EQ(played(), (std::vector<std::u16string>{u"/s/Set/Slot1.wav", u"/s/Set/Slot3.wav",
                                                     u"/s/Set/Slot4.wav", u"/s/Set/Slot2.wav",
                                                     u"/s/Set/Slot5.wav"}));
    EXPECT_TRUE(platform.devices.vibrator_switches().empty());
}

TEST_F(MotionDispatchTest, AnEmptySlotPlaysNothingButStillPulses) {
    slots.entries[4] = nullptr;
    app().pulse_toggle = pulse_toggle.get();
    pulse_toggle->set_pressed(true);
    platform.clock.set(1000);

    EXPECT_EQ(motion(5), 0);

    EXPECT_TRUE(played().empty());
    auto switches = platform.devices.vibrator_switches();
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_TRUE(switches[0].on);
    EXPECT_FALSE(switches[1].on);
    EXPECT_EQ(switches[1].at_ms - switches[0].at_ms, 25u);
}

TEST_F(MotionDispatchTest, OnlyTheCheckedPulseToggleVibrates) {
    motion(1);  // no toggle at all
    app().pulse_toggle = pulse_toggle.get();
    motion(2);  // toggle cleared
    EXPECT_EQ(played().size(), 2u);
    EXPECT_TRUE(platform.devices.vibrator_switches().empty());
    pulse_toggle->set_pressed(true);
    motion(3);
    EXPECT_EQ(platform.devices.vibrator_switches().size(), 2u);
}

class MockWindow : public Window {
public:
    MOCK_METHOD(void, post_message, (uint32_t, WParam, LParam), (override));
    MOCK_METHOD(LResult, send_message, (uint32_t, WParam, LParam), (override));
    MOCK_METHOD(LResult, default_proc, (uint32_t, WParam, LParam), (override));
    MOCK_METHOD(void, set_timer, (uint32_t, uint32_t, TimerRoutine), (override));
    MOCK_METHOD(void, kill_timer, (uint32_t), (override));
    MOCK_METHOD(void, invalidate, (const Rect*, bool), (override));
    MOCK_METHOD(void, update, (), (override));
    MOCK_METHOD(void, present, (const Bitmap&), (override));
    MOCK_METHOD(void, show, (ShowCommand), (override));
    MOCK_METHOD(void, raise, (), (override));
    MOCK_METHOD(void, set_full_screen, (bool), (override));
    MOCK_METHOD(Rect, client_rect, (), (const, override));
};

TEST_F(MotionDispatchTest, OtherCodesGoToDefaultProcessingAndNothingElseHappens) {
    app().pulse_toggle = pulse_toggle.get();
    pulse_toggle->set_pressed(true);
    ::testing::StrictMock<MockWindow> mock;
    for (WParam code : {WParam{0}, WParam{6}, ~WParam{0}}) {
        EXPECT_CALL(mock, default_proc(kMotionMessage, code, 9)).WillOnce(::testing::Return(77));
        EXPECT_EQ(on_motion_message(&mock, kMotionMessage, code, 9), 77);
    }
    EXPECT_TRUE(played().empty());
    EXPECT_TRUE(platform.devices.vibrator_switches().empty());
    EXPECT_EQ(platform.threads.started(), 0);
}

TEST_F(MotionDispatchTest, NothingHappensWhileLoadingOrWithoutSlots) {
    ::testing::StrictMock<MockWindow> mock;
    app().loading = true;
    EXPECT_EQ(on_motion_message(&mock, kMotionMessage, 6, 0), 0);
    EXPECT_EQ(motion(1), 0);
    app().loading = false;
    app().sound_slots = nullptr;
    EXPECT_EQ(on_motion_message(&mock, kMotionMessage, 6, 0), 0);
    EXPECT_EQ(motion(1), 0);
    EXPECT_EQ(platform.threads.started(), 0);
}

TEST_F(MotionDispatchTest, EverySwingStartsItsOwnSoundAndTheLatestIsLast) {
    platform.clock.set(0);
    motion(4);
    platform.clock.advance(100);
    motion(4);
    auto sounds = platform.devices.sounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[1].at_ms - sounds[0].at_ms, 100u);
    EXPECT_EQ(platform.threads.started(), 2);
}

TEST(MotionDispatchThreads, PlaybackThreadsKeepTheirEntryWhenTheSlotChanges) {
    HeadlessPlatform platform;
    platform.threads.set_inline(false);
    SoundBank bank;
    bank.AddEntry(u"A", u"One.wav", u"/s/A/One.wav", nullptr, nullptr);
    bank.AddEntry(u"B", u"Two.wav", u"/s/B/Two.wav", nullptr, nullptr);
    SoundSlots slots;
    app().sound_bank = &bank;
    app().sound_slots = &slots;
    CheckButton pulse(nullptr, 49);
    pulse.set_pressed(true);
    app().pulse_toggle = &pulse;

    for (int i = 0; i < 50; ++i) {
        AssignSlot(1, i % 2 ? u"Two.wav" : u"One.wav");
        on_motion_message(nullptr, kMotionMessage, 1, 0);
    }
    platform.threads.join_all();

    auto sounds = platform.devices.sounds();
    ASSERT_EQ(sounds.size(), 50u);
    int ones = 0;
    for (auto& sound : sounds) ones += sound.path == u"/s/A/One.wav";
    EXPECT_EQ(ones, 25);
    EXPECT_EQ(platform.devices.vibrator_switches().size(), 100u);
}

}  // namespace
}  // namespace tiltophon
