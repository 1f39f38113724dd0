// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "motion/TempFolder.h"
#include "platform/LayeredRegistry.h"
#include "platform/SoundFiles.h"
#include "platform/media/WaveFile.h"
#include "platform/posix/FileRegistry.h"
#include "screens/ScreensTestKit.h"
#include "settings/Settings.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "sound/UserSounds.h"
#include "support/FileSizeLimit.h"
#include "support/ReadFile.h"
#include "support/Unprivileged.h"
#include "vavurud/SelectList.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using testing::program_folder;
using testing::ProgramTest;

// A tenth of a second of silence: a drop is copied only when it would play.
const std::string kWav = [] {
    std::vector<uint8_t> bytes = encode_wave({1, 1, 8000, 16}, std::vector<uint8_t>(1600, 0));
    return std::string(bytes.begin(), bytes.end());
}();

std::vector<std::u16string> list_rows(const SelectList& list) {
    std::vector<std::u16string> rows;
    for (int32_t i = 0; i < list.item_count(); ++i) {
        ListItem item;
        list.get_item(i, item);
        rows.push_back(item.text.str() + u"/" + item.subtext.str());
    }
    return rows;
}

bool has_row(const SelectList& list, const std::u16string& row) {
    std::vector<std::u16string> rows = list_rows(list);
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// The whole program with a data home of its own; the user's library is
// <data>/tiltophon/Sounds.
class UserSoundsTest : public ProgramTest {
protected:
    UserSoundsTest() { program.files.set_data_home(utf16_from_utf8(data.path().string())); }

    fs::path user_library() const { return data.path() / "tiltophon" / "Sounds"; }
    fs::path my_sounds() const { return user_library() / "My Sounds"; }
    void put(const std::string& relative, const std::string& bytes) {
        data.write("tiltophon/Sounds/" + relative, bytes);
    }
    void drop(const std::string& path) {
        program.headless_window().drop_file(utf16_from_utf8(path));
        program.headless.windows.pump();
    }
    std::u16string slot_path(int slot) { return s.sound_slots->Entry(slot)->FilePath.str(); }
    void expect_shipped_sounds_only() {
        start();
        std::vector<std::u16string> rows = list_rows(*s.sound_list);
        EXPECT_TRUE(has_row(*s.sound_list, u"Drums/Kick.wav"));
        drop(elsewhere.write("Kick.wav", kWav));
        EXPECT_EQ(list_rows(*s.sound_list), rows);
    }

    TempFolder data;
    TempFolder elsewhere;
};

TEST_F(UserSoundsTest, TheFirstStartMakesTheUserLibraryWithAReadme) {
    start();
    std::string readme = read_file((user_library() / "README.txt").string());
    EXPECT_NE(readme.find("My Sounds"), std::string::npos);
    EXPECT_NE(readme.find(".flac"), std::string::npos);

    // Later starts leave the folder as the user keeps it.
    data.write("tiltophon/Sounds/README.txt", "my notes");
    PrepareUserSounds(s.settings->UserSoundsFolder);
    EXPECT_EQ(read_file((user_library() / "README.txt").string()), "my notes");
    fs::remove(user_library() / "README.txt");
    PrepareUserSounds(s.settings->UserSoundsFolder);
    EXPECT_FALSE(fs::exists(user_library() / "README.txt"));
}

TEST_F(UserSoundsTest, UserSetsJoinTheShippedOnesAndASavedSlotKeepsItsSound) {
    put("Drums/Boing.wav", kWav);
    put("Drums/Snare.wav", kWav);
    put("Animals/Moo.wav", kWav);
    store_slot(1, u"Drums", u"Kick.wav");
    store_slot(2, u"Drums", u"Snare.wav");
    start();

    EXPECT_EQ(slot_path(1), program_folder() + u"Sounds/Drums/Kick.wav");
    EXPECT_EQ(slot_path(2), utf16_from_utf8((user_library() / "Drums/Snare.wav").string()));
    std::vector<std::u16string> rows = list_rows(*s.sound_list);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), u"Animals/Moo.wav");
    auto boing = std::find(rows.begin(), rows.end(), u"Drums/Boing.wav");
    ASSERT_NE(boing, rows.end());
    EXPECT_EQ(*(boing + 1), u"Drums/Clap.wav");
    EXPECT_EQ(std::count(rows.begin(), rows.end(), u"Drums/Snare.wav"), 1);
}

TEST_F(UserSoundsTest, ADroppedSoundIsCopiedIntoMySoundsAndListedAtOnce) {
    start();
    int32_t rows_before = s.sound_list->item_count();
    s.sound_list->select(3);
    ListItem selected;
    s.sound_list->get_item(3, selected);

    std::string kick = elsewhere.write("Music/Kick.wav", kWav);
    int paints = program.headless_window().present_count();
    drop(kick);
    EXPECT_EQ(read_file((my_sounds() / "Kick.wav").string()), kWav);
    EXPECT_EQ(s.sound_list->item_count(), rows_before + 1);
    EXPECT_TRUE(has_row(*s.sound_list, u"My Sounds/Kick.wav"));
    EXPECT_GT(program.headless_window().present_count(), paints);

    // A second drop of the same name gets a number; the first copy stays.
    drop(kick);
    EXPECT_EQ(names_in(my_sounds()), (std::vector<std::string>{"Kick (2).wav", "Kick.wav"}));
    EXPECT_TRUE(has_row(*s.sound_list, u"My Sounds/Kick (2).wav"));
    // The row the user had selected is still the selected one.
    ListItem now;
    s.sound_list->get_item(s.sound_list->get_selected(), now);
    EXPECT_EQ(now.value, selected.value);

    // The new sound can be chosen like any other.
    const SoundEntry* entry = s.sound_bank->FindByFolderAndName(u"My Sounds", u"Kick (2).wav");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->FilePath.view(), utf16_from_utf8((my_sounds() / "Kick (2).wav").string()));
}

TEST_F(UserSoundsTest, DroppingWhatIsNotASoundFileChangesNothing) {
    start();
    std::vector<std::u16string> rows = list_rows(*s.sound_list);
    fs::create_directories(elsewhere.path() / "Folder.wav");
    drop(elsewhere.file("Folder.wav"));
    drop(elsewhere.write("notes.txt", "Hello"));
    drop(elsewhere.write("Fake.wav", "Hello, I am text"));
    drop(elsewhere.write("Empty.mp3", ""));
    drop(elsewhere.file("Missing.flac"));
    drop(elsewhere.path().string() + "/");

    EXPECT_FALSE(fs::exists(my_sounds()));
    EXPECT_EQ(list_rows(*s.sound_list), rows);
}

TEST_F(UserSoundsTest, AFullDiskLosesNothing) {
    put("My Sounds/Kick.wav", kWav);
    start();
    std::vector<std::u16string> rows = list_rows(*s.sound_list);

    std::string long_one = elsewhere.write("Long.wav", kWav + std::string(200000, 'x'));
    std::string same_name = elsewhere.write("Kick.wav", kWav + std::string(200000, 'y'));
    {
        // No file may grow past 64 KiB, so the copy of a larger one fails part way.
        FileSizeLimit full_disk(64 * 1024);
        ASSERT_TRUE(full_disk.ok());
        drop(long_one);
        drop(same_name);
    }

    EXPECT_EQ(names_in(my_sounds()), (std::vector<std::string>{"Kick.wav"}));
    EXPECT_EQ(read_file((my_sounds() / "Kick.wav").string()), kWav);
    EXPECT_EQ(list_rows(*s.sound_list), rows);
}

// The user's library is a plain file, or a link to nowhere: the program runs with the
// shipped sounds, a drop changes nothing, and what is there stays as it was.
TEST_F(UserSoundsTest, AUserLibraryThatIsAFileIsLeftAlone) {
    data.write("tiltophon/Sounds", "not a folder");
    expect_shipped_sounds_only();
    EXPECT_EQ(read_file(user_library().string()), "not a folder");
}

TEST_F(UserSoundsTest, AUserLibraryThatIsADanglingLinkIsLeftAlone) {
    fs::create_directories(data.path() / "tiltophon");
    fs::create_symlink(data.path() / "nowhere", user_library());
    expect_shipped_sounds_only();
    EXPECT_TRUE(fs::is_symlink(user_library()));
    EXPECT_FALSE(fs::exists(data.path() / "nowhere"));
}

TEST_F(UserSoundsTest, AnUnreadableUserLibraryGivesTheShippedSoundsAndTakesNoDrops) {
    put("Locked/Secret.wav", kWav);
    std::string kick = elsewhere.write("Kick.wav", kWav);
    fs::permissions(user_library(), fs::perms::none);
    for (const fs::path& open : {data.path(), elsewhere.path()}) {
        fs::permissions(open, fs::perms::others_read | fs::perms::others_exec,
                        fs::perm_options::add);
    }
    fs::permissions(kick, fs::perms::others_read, fs::perm_options::add);

    EXPECT_TRUE(holds_without_privileges([&] {
        if (!program.start()) return false;
        bool shipped_only = !has_row(*s.sound_list, u"Locked/Secret.wav") &&
                            has_row(*s.sound_list, u"Drums/Kick.wav");
        std::size_t rows = list_rows(*s.sound_list).size();
        drop(kick);
        return shipped_only && list_rows(*s.sound_list).size() == rows;
    }));
    fs::permissions(user_library(), fs::perms::owner_all);
    EXPECT_EQ(names_in(user_library()), (std::vector<std::string>{"Locked"}));
}

TEST_F(UserSoundsTest, WithoutADataHomeThereIsNoUserLibrary) {
    program.files.set_data_home(u"");
    start();
    EXPECT_TRUE(s.settings->UserSoundsFolder.empty());
    std::size_t rows = list_rows(*s.sound_list).size();
    drop(elsewhere.write("Kick.wav", kWav));
    EXPECT_EQ(list_rows(*s.sound_list).size(), rows);
}

TEST_F(UserSoundsTest, ThreadsADropIsCopiedOffTheMainThreadAndListedWhenDone) {
    start();
    program.headless.threads.set_inline(false);
    ASSERT_TRUE(write_tone(elsewhere.file("Kick.flac"), every_format()[4], 0.5));
    program.headless_window().drop_file(utf16_from_utf8(elsewhere.file("Kick.flac")));
    program.headless.windows.pump();
    program.headless.threads.join_all();
    program.headless.windows.pump();
    EXPECT_TRUE(has_row(*s.sound_list, u"My Sounds/Kick.flac"));
}

// Each is a sound file by name, and none would play: none is copied or listed.
TEST_F(UserSoundsTest, DropsThatThePlayerWouldRefuseLeaveNothing) {
    start();
    std::vector<std::u16string> rows = list_rows(*s.sound_list);
    ASSERT_EQ(::mkfifo(elsewhere.file("Pipe.wav").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", elsewhere.file("Zero.wav"));
    // Over the player's 64 MB, a sparse file costs nothing.
    fs::resize_file(elsewhere.write("Huge.wav", kWav), 100 << 20);
    ASSERT_TRUE(write_tone(elsewhere.file("Long.flac"), {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 8000}, 61.0));
    ASSERT_TRUE(write_tone(elsewhere.file("Cut.flac"), every_format()[4], 1.0));
    fs::resize_file(elsewhere.file("Cut.flac"), fs::file_size(elsewhere.file("Cut.flac")) / 2);
    elsewhere.write("Tag.mp3", std::string("ID3\4\0\0\0\0\1\0", 10) + std::string(128, '\0'));
    for (const char* name : {"Pipe.wav", "Zero.wav", "Huge.wav", "Long.flac", "Cut.flac", "Tag.mp3"}) {
        drop(elsewhere.file(name));
        EXPECT_TRUE(names_in(my_sounds()).empty()) << name;
    }
    EXPECT_EQ(list_rows(*s.sound_list), rows);

    // The same kinds that do play are taken: an MP3 among them.
    ASSERT_TRUE(write_tone(elsewhere.file("Minute.flac"), {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 8000}, 60.0));
    ASSERT_TRUE(write_tone(elsewhere.file("Tone.mp3"), every_format().back(), 1.0));
    drop(elsewhere.file("Minute.flac"));
    drop(elsewhere.file("Tone.mp3"));
    EXPECT_EQ(names_in(my_sounds()), (std::vector<std::string>{"Minute.flac", "Tone.mp3"}));
}

TEST_F(UserSoundsTest, WhatACopyCutOffByTheProgramsEndLeftIsRemovedAtTheNextStart) {
    put("My Sounds/Kick.wav", kWav);
    put("My Sounds/.tiltophon-copy-Ab12Cd", std::string(5000, 'x'));
    start();
    EXPECT_EQ(names_in(my_sounds()), (std::vector<std::string>{"Kick.wav"}));
}

// Files whose copies stop after their first part until they are given up, as a large
// copy to a slow disk would.
class StalledCopies : public ProgramFolderFiles {
public:
    using ProgramFolderFiles::ProgramFolderFiles;
    CopyResult copy_new_file(std::u16string_view from, std::u16string_view to, uint64_t max_bytes,
                             const CopyCancelled& cancelled) override {
        return ProgramFolderFiles::copy_new_file(from, to, max_bytes, [&] {
            stalled = true;
            for (int waited = 0; waited < 20000 && !cancelled(); ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return cancelled();
        });
    }
    std::atomic<bool> stalled{false};
};

// Closing waits for the copy's thread, which gives up: nothing is left behind, and
// nothing reaches the window afterwards (AddressSanitizer watches this in CI).
TEST_F(UserSoundsTest, ThreadsADropClosedMidCopyLeavesNothingAndNeverTouchesTheGoneWindow) {
    StalledCopies files(program_folder());
    files.set_data_home(utf16_from_utf8(data.path().string()));
    program.headless.services().files = &files;
    install_platform(program.headless.services());
    start();
    std::vector<std::u16string> rows = list_rows(*s.sound_list);
    program.headless.threads.set_inline(false);
    program.headless_window().drop_file(utf16_from_utf8(elsewhere.write("Kick.wav", kWav)));
    program.headless.windows.pump();
    for (int waited = 0; waited < 20000 && !files.stalled; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(files.stalled) << "the copy never began";

    program.close();
    EXPECT_TRUE(program.headless_window().is_destroyed());
    EXPECT_TRUE(names_in(my_sounds()).empty());
    program.headless.threads.join_all();
    program.headless.windows.pump();
    EXPECT_EQ(list_rows(*s.sound_list), rows);
}

// The first-run kit: the program folder's Defaults.reg under the user's settings.
class FirstRunKitTest : public ProgramTest {
protected:
    void start_with_defaults(const std::string& defaults_file) {
        defaults_ = std::make_unique<FileRegistry>(defaults_file);
        layered_ = std::make_unique<LayeredRegistry>(program.headless.registry, *defaults_);
        program.headless.services().registry = layered_.get();
        install_platform(program.headless.services());
        start();
    }
    std::vector<std::u16string> slots() {
        std::vector<std::u16string> names;
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const SoundEntry* entry = s.sound_slots->Entry(slot);
            names.push_back(entry ? entry->FolderName.str() + u"/" + entry->FileName.str() : u"");
        }
        return names;
    }
    std::unique_ptr<FileRegistry> defaults_;
    std::unique_ptr<LayeredRegistry> layered_;
};

TEST_F(FirstRunKitTest, TheShippedKitPutsFiveDifferentSoundsInTheSlots) {
    start_with_defaults(TILTOPHON_PROGRAM_DIR "/Defaults.reg");
    std::vector<std::u16string> names = slots();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
    EXPECT_EQ(std::count(names.begin(), names.end(), u""), 0);
    // Everything else is as without the kit.
    EXPECT_EQ(s.settings->SensitivityX, 5);
    EXPECT_TRUE(s.settings->PulseVibrationsOn);

    program.headless_window().press_key(u'4');
    program.headless.windows.pump();
    ASSERT_EQ(program.headless.devices.sounds().size(), 1u);
    EXPECT_EQ(program.headless.devices.sounds()[0].path, s.sound_slots->Entry(4)->FilePath.view());
}

TEST_F(FirstRunKitTest, WithoutTheFileTheSlotsStartEmpty) {
    TempFolder empty;
    start_with_defaults(empty.file("Defaults.reg"));
    EXPECT_EQ(slots(), std::vector<std::u16string>(kSlotCount, u""));
    EXPECT_EQ(s.settings->SensitivityX, 5);
}

TEST_F(FirstRunKitTest, TheUsersOwnValuesWinAndASaveKeepsTheKitsForTheRest) {
    store_slot(1, u"Bells", u"Ding.wav");
    program.store(u"SensitivityX", 8);
    start_with_defaults(TILTOPHON_PROGRAM_DIR "/Defaults.reg");
    std::vector<std::u16string> names = slots();
    EXPECT_EQ(names[0], u"Bells/Ding.wav");
    for (int slot = 2; slot <= kSlotCount; ++slot) EXPECT_NE(names[slot - 1], u"");
    EXPECT_EQ(s.settings->SensitivityX, 8);

    program.close();
    // The user's store now holds every value, so the kit no longer matters.
    std::array<char16_t, 260> buffer{};
    for (int slot = 2; slot <= kSlotCount; ++slot) {
        std::u16string name = u"SoundSlot" + std::u16string(1, char16_t(u'0' + slot)) + u"Name";
        ASSERT_EQ(program.headless.registry.read_string(kSettingsRoot, kSettingsKey, name,
                                                        buffer.data(), buffer.size()),
                  registry_result::kSuccess);
        EXPECT_EQ(u"/" + std::u16string(buffer.data()),
                  names[slot - 1].substr(names[slot - 1].find(u'/')));
    }
}

}  // namespace
}  // namespace tiltophon
