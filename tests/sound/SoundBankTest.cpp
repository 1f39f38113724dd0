// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sound/SoundBank.h"
#include "sound/SoundLibraryFakes.h"

namespace tiltophon {
namespace {

using testing::FakeImageCodec;
using testing::ScriptedFileSystem;

constexpr char16_t kLibrary[] = u"/opt/tiltophon/Sounds/";

std::u16string library(const std::u16string& rest) {
    return kLibrary + rest;
}

class SoundBankScan : public ::testing::Test {
protected:
    SoundBankScan() {
        Platform services;
        services.files = &files;
        services.images = &images;
        install_platform(services);
    }
    ~SoundBankScan() override { install_platform({}); }

    std::vector<std::u16string> listing(const SoundBank& bank) {
        std::vector<std::u16string> out;
        for (int32_t i = 0; i < bank.Count(); ++i) {
            out.push_back(bank.EntryAt(i)->FolderName.str() + u"/" +
                          bank.EntryAt(i)->FileName.str());
        }
        return out;
    }

    // Drums (Kick.wav, Snare.wav and both pictures, in a muddled order) and Bells
    // (Ding.wav, no pictures).
    void add_drums_and_bells() {
        files.folder(kLibrary, u"Drums").folder(kLibrary, u"Bells");
        files.file(library(u"Drums"), u"DrumsS.png")
            .file(library(u"Drums"), u"Kick.wav")
            .file(library(u"Drums"), u"DrumsB.png")
            .file(library(u"Drums"), u"Snare.wav");
        files.file(library(u"Bells"), u"Ding.wav");
        images.pictures[library(u"Drums/DrumsB.png")] = true;
        images.pictures[library(u"Drums/DrumsS.png")] = true;
    }

    ScriptedFileSystem files;
    FakeImageCodec images;
};

TEST_F(SoundBankScan, BuildsOneEntryPerWavOfEachSetSortedByFolder) {
    add_drums_and_bells();

    SoundBank bank;
    bank.Scan(kLibrary);
    bank.Sort(FolderAscending);

    ASSERT_EQ(listing(bank), (std::vector<std::u16string>{u"Bells/Ding.wav", u"Drums/Kick.wav",
                                                          u"Drums/Snare.wav"}));
    const SoundEntry* ding = bank.EntryAt(0);
    const SoundEntry* kick = bank.EntryAt(1);
    const SoundEntry* snare = bank.EntryAt(2);
    EXPECT_EQ(kick->FilePath.view(), library(u"Drums/Kick.wav"));
    EXPECT_EQ(ding->FilePath.view(), library(u"Bells/Ding.wav"));
    // The set's pictures are loaded once and shared by all its entries.
    ASSERT_NE(kick->BigImage, nullptr);
    ASSERT_NE(kick->SmallImage, nullptr);
    EXPECT_NE(kick->BigImage, kick->SmallImage);
    EXPECT_EQ(kick->BigImage, snare->BigImage);
    EXPECT_EQ(kick->SmallImage, snare->SmallImage);
    EXPECT_EQ(ding->BigImage, nullptr);
    EXPECT_EQ(ding->SmallImage, nullptr);
    EXPECT_EQ(images.loads.size(), 2u);
}

TEST_F(SoundBankScan, TakesPicturesOnlyByTheirExactNamesAndSoundFilesInAnyCase) {
    files.folder(kLibrary, u"Drums");
    for (auto name : {u"drumsb.png", u"DrumsB.PNG", u"B.png", u"DrumsS.png.bak", u"KICK.WAV",
                      u"Kick.mp3", u"Kick.wav.txt", u"Snare.Wav", u"Tom.FLAC", u"Hat.ogg",
                      u"Ride.Oga", u"Crash.opus", u".wav", u"Kick.aiff"}) {
        files.file(library(u"Drums"), name);
    }
    files.folder(library(u"Drums"), u"Nested.wav");
    for (auto name : {u"drumsb.png", u"DrumsB.PNG", u"B.png"}) {
        images.pictures[library(u"Drums/") + name] = true;
    }

    SoundBank bank;
    bank.Scan(kLibrary);

    EXPECT_EQ(listing(bank),
              (std::vector<std::u16string>{u"Drums/KICK.WAV", u"Drums/Kick.mp3", u"Drums/Snare.Wav",
                                           u"Drums/Tom.FLAC", u"Drums/Hat.ogg", u"Drums/Ride.Oga",
                                           u"Drums/Crash.opus"}));
    EXPECT_EQ(bank.EntryAt(0)->BigImage, nullptr);
    EXPECT_EQ(bank.EntryAt(0)->SmallImage, nullptr);
    EXPECT_TRUE(images.loads.empty());
}

TEST_F(SoundBankScan, IgnoresFilesOfTheLibraryItselfAndSetsWithoutWavs) {
    files.file(kLibrary, u"Loose.wav").folder(kLibrary, u"Empty").folder(kLibrary, u"Pictures");
    files.file(library(u"Pictures"), u"PicturesB.png");
    images.pictures[library(u"Pictures/PicturesB.png")] = true;

    SoundBank bank;
    bank.Scan(kLibrary);

    EXPECT_EQ(bank.Count(), 0);
    // The pictures of a set are looked at before its sounds, even when it has none.
    EXPECT_EQ(images.loads, (std::vector<std::u16string>{library(u"Pictures/PicturesB.png")}));
}

TEST_F(SoundBankScan, MakesEntriesWhenPicturesCannotBeDecoded) {
    files.folder(kLibrary, u"Bells");
    files.file(library(u"Bells"), u"BellsB.png").file(library(u"Bells"), u"Ding.wav");

    SoundBank bank;
    bank.Scan(kLibrary);

    ASSERT_EQ(bank.Count(), 1);
    EXPECT_EQ(bank.EntryAt(0)->BigImage, nullptr);
}

TEST_F(SoundBankScan, ScanStartsAfreshAndAMissingLibraryGivesAnEmptyBank) {
    SoundBank bank;
    bank.AddEntry(u"Old", u"Gone.wav", u"/x/Old/Gone.wav", nullptr, nullptr);
    bank.Scan(u"/nowhere/Sounds/");
    EXPECT_EQ(bank.Count(), 0);
    EXPECT_EQ(bank.EntryAt(0), nullptr);
}

TEST_F(SoundBankScan, APathThatDoesNotFitLeavesTheSoundUnplayableRatherThanCut) {
    // 240 units of library path: "Drums/Kick.wav" fits, a long name does not.
    std::u16string deep = u"/" + std::u16string(238, u'd') + u"/";
    std::u16string long_name = std::u16string(40, u'k') + u".wav";
    files.folder(deep, u"Drums");
    files.file(deep + u"Drums", u"Kick.wav").file(deep + u"Drums", long_name);

    SoundBank bank;
    bank.Scan(deep);

    ASSERT_EQ(bank.Count(), 2);
    EXPECT_EQ(bank.EntryAt(0)->FilePath.view(), deep + u"Drums/Kick.wav");
    EXPECT_EQ(bank.EntryAt(1)->FileName.view(), long_name);
    EXPECT_TRUE(bank.EntryAt(1)->FilePath.empty());
}

constexpr char16_t kUserLibrary[] = u"/home/u/.local/share/tiltophon/Sounds/";

std::u16string user_library(const std::u16string& rest) {
    return kUserLibrary + rest;
}

// The program's library and the user's: Drums and Bells shipped; the user adds to
// Drums, replaces its Snare.wav and its small picture, and has a set of their own.
class SoundBankTwoLibraries : public SoundBankScan {
protected:
    SoundBankTwoLibraries() {
        add_drums_and_bells();
        files.folder(kUserLibrary, u"My Sounds").folder(kUserLibrary, u"Drums");
        files.file(user_library(u"Drums"), u"Clap.flac")
            .file(user_library(u"Drums"), u"DrumsS.png")
            .file(user_library(u"Drums"), u"Snare.wav")
            .file(user_library(u"Drums"), u"snare.wav");
        files.file(user_library(u"My Sounds"), u"Bell.mp3");
        images.pictures[user_library(u"Drums/DrumsS.png")] = true;
    }
    void scan() {
        bank.Scan(kLibrary, kUserLibrary);
        bank.Sort(FolderAscending);
    }
    const SoundEntry* find(std::u16string_view folder, std::u16string_view name) {
        const SoundEntry* entry = bank.FindByFolderAndName(folder, name);
        return entry && entry->FolderName == folder ? entry : nullptr;
    }
    SoundBank bank;
};

TEST_F(SoundBankTwoLibraries, UserSetsJoinTheLibrarysAndUserFilesReplaceTheirNamesakes) {
    scan();

    // One Drums set in name order, the user's files among the shipped ones; the sets
    // sorted across both libraries.
    EXPECT_EQ(listing(bank),
              (std::vector<std::u16string>{u"Bells/Ding.wav", u"Drums/Clap.flac", u"Drums/Kick.wav",
                                           u"Drums/Snare.wav", u"Drums/snare.wav",
                                           u"My Sounds/Bell.mp3"}));
    EXPECT_EQ(find(u"Drums", u"Kick.wav")->FilePath.view(), library(u"Drums/Kick.wav"));
    EXPECT_EQ(find(u"Drums", u"Snare.wav")->FilePath.view(), user_library(u"Drums/Snare.wav"));
    EXPECT_EQ(find(u"Drums", u"Clap.flac")->FilePath.view(), user_library(u"Drums/Clap.flac"));
    EXPECT_EQ(find(u"My Sounds", u"Bell.mp3")->FilePath.view(),
              user_library(u"My Sounds/Bell.mp3"));

    // The whole set shows the shipped big picture and the user's small one; the
    // replaced small picture is never decoded.
    const SoundEntry* kick = find(u"Drums", u"Kick.wav");
    const SoundEntry* clap = find(u"Drums", u"Clap.flac");
    EXPECT_NE(kick->BigImage, nullptr);
    EXPECT_EQ(kick->BigImage, clap->BigImage);
    EXPECT_EQ(kick->SmallImage, clap->SmallImage);
    EXPECT_EQ(std::count(images.loads.begin(), images.loads.end(), library(u"Drums/DrumsS.png")),
              0);
    EXPECT_EQ(
        std::count(images.loads.begin(), images.loads.end(), user_library(u"Drums/DrumsS.png")), 1);
}

TEST_F(SoundBankTwoLibraries, SavedSlotsFindTheirSoundsAsBefore) {
    scan();
    // A slot saved before the user had a library still names Drums/Kick.wav: the same
    // entry, from the same file.
    EXPECT_EQ(bank.FindByFolderAndName(u"Drums", u"Kick.wav")->FilePath.view(),
              library(u"Drums/Kick.wav"));
    // By file name alone the first in bank order wins, as it always has.
    EXPECT_EQ(bank.FindByName(u"Ding.wav")->FolderName.view(), u"Bells");

    // Without a user library the bank is exactly the library's.
    SoundBank alone;
    alone.Scan(kLibrary);
    alone.Sort(FolderAscending);
    EXPECT_EQ(listing(alone), (std::vector<std::u16string>{u"Bells/Ding.wav", u"Drums/Kick.wav",
                                                           u"Drums/Snare.wav"}));
    EXPECT_EQ(alone.EntryAt(2)->FilePath.view(), library(u"Drums/Snare.wav"));
}

TEST_F(SoundBankTwoLibraries, NewSoundsGoInAtTheirPlacesAndNothingThereMoves) {
    scan();
    std::vector<const SoundEntry*> before;
    for (int32_t i = 0; i < bank.Count(); ++i) before.push_back(bank.EntryAt(i));
    std::vector<std::u16string> names_before = listing(bank);

    files.file(user_library(u"My Sounds"), u"Alarm.wav").file(user_library(u"Drums"), u"Tom.ogg");
    files.file(user_library(u"Drums"), u"Kick.wav");  // would replace: waits for a restart
    files.folder(kUserLibrary, u"Animals").file(user_library(u"Animals"), u"Moo.wav");
    EXPECT_EQ(bank.AddNewSounds(kLibrary, kUserLibrary), 3);

    EXPECT_EQ(listing(bank),
              (std::vector<std::u16string>{u"Animals/Moo.wav", u"Bells/Ding.wav", u"Drums/Clap.flac",
                                           u"Drums/Kick.wav", u"Drums/Snare.wav", u"Drums/snare.wav",
                                           u"Drums/Tom.ogg", u"My Sounds/Alarm.wav",
                                           u"My Sounds/Bell.mp3"}));
    // Every entry there before is where it was in memory, with what it had.
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i]->FolderName.str() + u"/" + before[i]->FileName.str(), names_before[i]);
    }
    EXPECT_EQ(find(u"Drums", u"Kick.wav"), before[2]);
    EXPECT_EQ(before[2]->FilePath.view(), library(u"Drums/Kick.wav"));
    // The set's pictures are not decoded again.
    EXPECT_EQ(images.loads.size(), 2u);

    EXPECT_EQ(bank.AddNewSounds(kLibrary, kUserLibrary), 0);
}

TEST_F(SoundBankTwoLibraries, NamesLongerThanAFieldAreLeftOut) {
    std::u16string long_name = std::u16string(260, u'x') + u".wav";
    files.file(user_library(u"My Sounds"), long_name);
    files.folder(kUserLibrary, std::u16string(260, u'S'));
    files.file(user_library(std::u16string(260, u'S')), u"Boom.wav");
    scan();
    EXPECT_EQ(bank.Count(), 6);
    EXPECT_EQ(bank.FindByName(long_name.substr(0, 259)), nullptr);
}

TEST_F(SoundBankScan, AMissingUserLibraryChangesNothing) {
    files.folder(kLibrary, u"Bells").file(library(u"Bells"), u"Ding.wav");
    SoundBank bank;
    bank.Scan(kLibrary, u"/home/nobody/Sounds/");
    EXPECT_EQ(listing(bank), (std::vector<std::u16string>{u"Bells/Ding.wav"}));
}

TEST(SoundBank, AddEntryCopiesBoundedTextsAndEmptyArgumentsGiveEmptyFields) {
    SoundBank bank;
    std::u16string long_text(300, u'n');
    Bitmap big(1, 1);
    bank.AddEntry(long_text, u"", std::u16string_view(), &big, nullptr);
    const SoundEntry* entry = bank.EntryAt(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->FolderName.length(), 259u);
    EXPECT_TRUE(entry->FileName.empty());
    EXPECT_TRUE(entry->FilePath.empty());
    EXPECT_EQ(entry->BigImage, &big);
    EXPECT_EQ(bank.EntryAt(-1), nullptr);
    EXPECT_EQ(bank.EntryAt(1), nullptr);
}

TEST(SoundBank, FindsByExactFileNameAndPrefersTheNamedFolder) {
    SoundBank bank;
    bank.AddEntry(u"Bells", u"Kick.wav", u"/s/Bells/Kick.wav", nullptr, nullptr);
    bank.AddEntry(u"Drums", u"Kick.wav", u"/s/Drums/Kick.wav", nullptr, nullptr);
    bank.AddEntry(u"Drums", u"kick.wav", u"/s/Drums/kick.wav", nullptr, nullptr);

    EXPECT_EQ(bank.FindByName(u"Kick.wav"), bank.EntryAt(0));
    EXPECT_EQ(bank.FindByName(u"kick.wav"), bank.EntryAt(2));
    EXPECT_EQ(bank.FindByName(u"KICK.WAV"), nullptr);
    EXPECT_EQ(bank.FindByFolderAndName(u"Drums", u"Kick.wav"), bank.EntryAt(1));
    // No entry with both: the file name alone decides, as for settings without a folder.
    EXPECT_EQ(bank.FindByFolderAndName(u"drums", u"Kick.wav"), bank.EntryAt(0));
    EXPECT_EQ(bank.FindByFolderAndName(u"", u"Kick.wav"), bank.EntryAt(0));
    EXPECT_EQ(bank.FindByFolderAndName(u"Drums", u"Snare.wav"), nullptr);
}

TEST(SoundBank, SwapExchangesWholeEntriesAndIgnoresPositionsOutside) {
    SoundBank bank;
    Bitmap picture(1, 1);
    bank.AddEntry(u"A", u"1.wav", u"/s/A/1.wav", &picture, nullptr);
    bank.AddEntry(u"B", u"2.wav", u"/s/B/2.wav", nullptr, &picture);
    bank.Swap(0, 1);
    EXPECT_EQ(bank.EntryAt(0)->FilePath.view(), u"/s/B/2.wav");
    EXPECT_EQ(bank.EntryAt(0)->SmallImage, &picture);
    EXPECT_EQ(bank.EntryAt(1)->FolderName.view(), u"A");
    EXPECT_EQ(bank.EntryAt(1)->BigImage, &picture);
    bank.Swap(0, 2);
    bank.Swap(-1, 0);
    EXPECT_EQ(bank.EntryAt(0)->FolderName.view(), u"B");
}

TEST(SoundBankSort, FoldersSortIgnoringCaseAndOtherOrdersChangeNothing) {
    SoundBank bank;
    bank.AddEntry(u"Beta", u"b.wav", u"/s/Beta/b.wav", nullptr, nullptr);
    bank.AddEntry(u"alpha", u"a.wav", u"/s/alpha/a.wav", nullptr, nullptr);
    for (int32_t order : {7, -1, 4}) {
        bank.Sort(order);
        EXPECT_EQ(bank.EntryAt(0)->FolderName.view(), u"Beta");
    }
    bank.Sort(FolderAscending);
    EXPECT_EQ(bank.EntryAt(0)->FolderName.view(), u"alpha");
    bank.Sort(FileDescending);
    EXPECT_EQ(bank.EntryAt(0)->FileName.view(), u"b.wav");

    // Equal keys in a descending order come out as the neighbour exchanges leave them.
    SoundBank same;
    for (auto file : {u"1.wav", u"2.wav", u"3.wav"})
        same.AddEntry(u"Set", file, u"", nullptr, nullptr);
    same.Sort(FolderDescending);
    EXPECT_EQ(same.EntryAt(0)->FileName.view(), u"3.wav");
    EXPECT_EQ(same.EntryAt(2)->FileName.view(), u"1.wav");

    SoundBank empty;
    empty.Sort(FolderDescending);
    EXPECT_EQ(empty.Count(), 0);
}

TEST(SoundBankSort, SetNamesInEveryAlphabetSortIgnoringCase) {
    SoundBank bank;
    for (auto folder : {u"Łza", u"Гусли", u"łabędź", u"Ωδή", u"барабан", u"άλφα", u"Drums"})
        bank.AddEntry(folder, u"a.wav", u"", nullptr, nullptr);
    bank.Sort(FolderAscending);
    std::vector<std::u16string> order;
    for (int32_t i = 0; i < bank.Count(); ++i) order.emplace_back(bank.EntryAt(i)->FolderName.view());
    EXPECT_EQ(order, (std::vector<std::u16string>{u"Drums", u"łabędź", u"Łza", u"άλφα", u"Ωδή",
                                                  u"барабан", u"Гусли"}));
}

TEST(SoundBankSort, KeepsEntriesInTheBanksOwnStorage) {
    SoundBank bank;
    bank.AddEntry(u"B", u"1.wav", u"/s/B/1.wav", nullptr, nullptr);
    bank.AddEntry(u"A", u"2.wav", u"/s/A/2.wav", nullptr, nullptr);
    const SoundEntry* first = bank.EntryAt(0);
    bank.Sort(FolderAscending);
    EXPECT_EQ(bank.EntryAt(0), first);
    EXPECT_EQ(first->FolderName.view(), u"A");
}

}  // namespace
}  // namespace tiltophon
