// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <climits>

#include "app/AppState.h"
#include "program/HeadlessPlatform.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"

namespace tiltophon {
namespace {

class SoundSlotsTest : public ::testing::Test {
protected:
    SoundSlotsTest() {
        bank.AddEntry(u"Bells", u"Kick.wav", u"/s/Bells/Kick.wav", nullptr, nullptr);
        bank.AddEntry(u"Drums", u"Kick.wav", u"/s/Drums/Kick.wav", nullptr, nullptr);
        bank.AddEntry(u"Drums", u"Snare.wav", u"/s/Drums/Snare.wav", nullptr, nullptr);
        app().sound_bank = &bank;
        app().sound_slots = &slots;
    }

    HeadlessPlatform platform;
    SoundBank bank;
    SoundSlots slots;
};

TEST(SoundSlotNumbers, ValidSlotsAndRowIdentifiers) {
    for (int32_t n : {0, 6, -1, INT_MIN, INT_MAX}) EXPECT_FALSE(IsValidSlot(n)) << n;
    for (int32_t n = 1; n <= 5; ++n) EXPECT_TRUE(IsValidSlot(n));
    EXPECT_EQ(SlotFromRowId('a'), 1);
    EXPECT_EQ(SlotFromRowId('c'), 3);
    EXPECT_EQ(SlotFromRowId('e'), 5);
    for (uint32_t id : {0u, 96u, 102u, 'A' + 0u, 0xFFFFFFFFu})
        EXPECT_EQ(SlotFromRowId(id), 0) << id;
}

TEST_F(SoundSlotsTest, FileNameAloneTakesTheFirstInBankOrder) {
    EXPECT_EQ(AssignSlot(1, u"Kick.wav"), 1);
    EXPECT_EQ(slots.Entry(1), bank.EntryAt(0));
}

TEST_F(SoundSlotsTest, FolderAndNameTakeThatVeryEntry) {
    EXPECT_EQ(AssignSlot(2, u"Drums", u"Kick.wav"), 1);
    EXPECT_EQ(slots.Entry(2), bank.EntryAt(1));
    // A folder the bank does not hold falls back to the file name.
    EXPECT_EQ(AssignSlot(2, u"Gone", u"Kick.wav"), 1);
    EXPECT_EQ(slots.Entry(2), bank.EntryAt(0));
}

TEST_F(SoundSlotsTest, AnUnknownNameEmptiesTheSlotAndInvalidSlotsChangeNothing) {
    AssignSlot(3, u"Snare.wav");
    EXPECT_EQ(AssignSlot(3, u"Absent.wav"), 1);
    EXPECT_EQ(slots.Entry(3), nullptr);

    AssignSlot(5, u"Snare.wav");
    auto before = slots.entries;
    EXPECT_EQ(AssignSlot(0, u"Kick.wav"), 0);
    EXPECT_EQ(AssignSlot(6, u"Drums", u"Kick.wav"), 0);
    EXPECT_EQ(AssignSlot(-1, u"Kick.wav"), 0);
    EXPECT_EQ(slots.entries, before);
    EXPECT_EQ(slots.Entry(0), nullptr);
    EXPECT_EQ(slots.Entry(6), nullptr);
}

TEST_F(SoundSlotsTest, WithoutTheRecordsNothingIsAssigned) {
    app().sound_bank = nullptr;
    EXPECT_EQ(AssignSlot(1, u"Kick.wav"), 0);
    EXPECT_EQ(slots.Entry(1), nullptr);
    app().sound_bank = &bank;
    app().sound_slots = nullptr;
    EXPECT_EQ(AssignSlot(1, u"Drums", u"Kick.wav"), 0);
}

TEST_F(SoundSlotsTest, SavedSlotsComeBackAndOldSettingsWithoutFoldersStillWork) {
    AssignSavedSlots({u"Drums", u"", u"Bells", u"", u"Drums"},
                     {u"Kick.wav", u"Snare.wav", u"Kick.wav", u"", u"Gone.wav"});
    EXPECT_EQ(slots.Entry(1), bank.EntryAt(1));
    EXPECT_EQ(slots.Entry(2), bank.EntryAt(2));
    EXPECT_EQ(slots.Entry(3), bank.EntryAt(0));
    EXPECT_EQ(slots.Entry(4), nullptr);
    EXPECT_EQ(slots.Entry(5), nullptr);

    // Only slot 5 had a saved sound that is not there; the user's pick ends that.
    for (int32_t n = 1; n <= 4; ++n) EXPECT_FALSE(slots.KeepsSavedSound(n)) << "slot " << n;
    EXPECT_TRUE(slots.KeepsSavedSound(5));
    AssignSlot(5, u"Drums", u"Absent.wav");
    EXPECT_FALSE(slots.KeepsSavedSound(5));
    EXPECT_FALSE(slots.KeepsSavedSound(0));
}

TEST_F(SoundSlotsTest, AFirstStartLeavesEverySlotEmpty) {
    AssignSavedSlots({}, {});
    for (int32_t n = 1; n <= 5; ++n) EXPECT_EQ(slots.Entry(n), nullptr);
}

// The player is told the slots' sounds whenever they change: once for the saved
// slots at start-up, once per assignment, and not for a refused one.
TEST_F(SoundSlotsTest, ThePlayerKeepsTheSlotsSoundsReady) {
    using Paths = std::vector<std::u16string>;
    AssignSavedSlots({u"Drums", u"", u"Gone"}, {u"Snare.wav", u"", u"Kick.wav"});
    auto preparations = platform.devices.preparations();
    ASSERT_EQ(preparations.size(), 1u);
    EXPECT_EQ(preparations[0].paths, (Paths{u"/s/Drums/Snare.wav", u"/s/Bells/Kick.wav"}));

    AssignSlot(2, u"Drums", u"Kick.wav");
    AssignSlot(1, u"Absent.wav");
    AssignSlot(7, u"Kick.wav");
    preparations = platform.devices.preparations();
    ASSERT_EQ(preparations.size(), 3u);
    EXPECT_EQ(preparations[1].paths,
              (Paths{u"/s/Drums/Snare.wav", u"/s/Drums/Kick.wav", u"/s/Bells/Kick.wav"}));
    EXPECT_EQ(preparations[2].paths, (Paths{u"/s/Drums/Kick.wav", u"/s/Bells/Kick.wav"}));
}

}  // namespace
}  // namespace tiltophon
