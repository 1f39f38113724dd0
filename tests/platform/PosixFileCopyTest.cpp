// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "motion/TempFolder.h"
#include "platform/Text.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FileSizeLimit.h"
#include "support/ReadFile.h"
#include "support/ScopedEnv.h"
#include "support/Unprivileged.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;

std::u16string u16(const std::string& path) {
    return utf16_from_utf8(path);
}

TEST(PosixDataHomeTest, TheDataHomeFollowsTheXdgRules) {
    PosixFileSystem files;
    ScopedEnv home("HOME", "/home/ada");
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/data");
        EXPECT_EQ(files.data_home(), u"/srv/data");
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/data"}) {
        ScopedEnv data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(files.data_home(), u"/home/ada/.local/share");
    }
}

TEST(PosixFoldersTest, FoldersAreMadeOnceAndWhatIsNotAFolderIsRefused) {
    TempFolder temp;
    PosixFileSystem files;
    std::string deep = temp.file("a/b/c");
    EXPECT_EQ(files.make_folders(u16(deep)), FolderResult::kCreated);
    EXPECT_EQ(files.make_folders(u16(deep + "/")), FolderResult::kExisted);

    temp.write("plain", "x");
    fs::create_symlink(temp.file("nowhere"), temp.file("dangling"));
    fs::create_symlink(temp.file("plain"), temp.file("to-file"));
    for (const char* odd : {"plain", "plain/below", "dangling", "to-file"}) {
        EXPECT_EQ(files.make_folders(u16(temp.file(odd))), FolderResult::kFailed) << odd;
    }
    EXPECT_EQ(read_file(temp.file("plain")), "x");
}

TEST(PosixFoldersTest, NewFilesNeverReplaceOldOnes) {
    TempFolder temp;
    PosixFileSystem files;
    EXPECT_TRUE(files.write_new_file(u16(temp.file("README.txt")), "first"));
    EXPECT_FALSE(files.write_new_file(u16(temp.file("README.txt")), "second"));
    EXPECT_EQ(read_file(temp.file("README.txt")), "first");
    EXPECT_FALSE(files.write_new_file(u16(temp.file("missing/README.txt")), "x"));
}

TEST(PosixFoldersTest, TheHeadOfAFileIsReadOnlyFromRegularFiles) {
    TempFolder temp;
    PosixFileSystem files;
    temp.write("Kick.wav", "RIFF1234WAVEfmt ");
    EXPECT_EQ(files.read_head(u16(temp.file("Kick.wav")), 12), "RIFF1234WAVE");
    EXPECT_EQ(files.read_head(u16(temp.file("Kick.wav")), 100), "RIFF1234WAVEfmt ");
    fs::create_directory(temp.file("Folder.wav"));
    ASSERT_EQ(::mkfifo(temp.file("Pipe.wav").c_str(), 0600), 0);
    for (const char* odd : {"Folder.wav", "Pipe.wav", "Missing.wav"}) {
        EXPECT_EQ(files.read_head(u16(temp.file(odd)), 12), "") << odd;
    }
}

class PosixCopyTest : public ::testing::Test {
protected:
    PosixCopyTest() {
        fs::create_directories(target_folder());
        temp.write("from/Kick.wav", std::string(200000, 'k'));
    }
    std::string source() const { return temp.file("from/Kick.wav"); }
    std::string target_folder() const { return temp.file("to"); }
    CopyResult copy(const std::string& to, uint64_t max_bytes = 1 << 20,
                    const CopyCancelled& cancelled = {}) {
        return files.copy_new_file(u16(source()), u16(target_folder() + "/" + to), max_bytes,
                                   cancelled);
    }

    TempFolder temp;
    PosixFileSystem files;
};

TEST_F(PosixCopyTest, CopiesWholeAndNeverOverAnExistingName) {
    EXPECT_EQ(copy("Kick.wav"), CopyResult::kCopied);
    EXPECT_EQ(read_file(target_folder() + "/Kick.wav"), read_file(source()));

    temp.write("to/Taken.wav", "mine");
    EXPECT_EQ(copy("Taken.wav"), CopyResult::kNameTaken);
    EXPECT_EQ(read_file(target_folder() + "/Taken.wav"), "mine");
    // No temporary file is left behind either way.
    EXPECT_EQ(names_in(target_folder()), (std::vector<std::string>{"Kick.wav", "Taken.wav"}));
}

TEST_F(PosixCopyTest, RefusesWhatIsNotARegularFileOrTooLarge) {
    EXPECT_EQ(copy("Big.wav", 1000), CopyResult::kFailed);
    fs::create_directory(temp.file("from/Folder.wav"));
    EXPECT_EQ(files.copy_new_file(u16(temp.file("from/Folder.wav")), u16(target_folder() + "/F.wav"),
                                  1 << 20, {}),
              CopyResult::kFailed);
    EXPECT_EQ(files.copy_new_file(u16(temp.file("from/None.wav")), u16(target_folder() + "/N.wav"),
                                  1 << 20, {}),
              CopyResult::kFailed);
    EXPECT_EQ(files.copy_new_file(u16(source()), u16(temp.file("absent/Kick.wav")), 1 << 20, {}),
              CopyResult::kFailed);
    EXPECT_TRUE(names_in(target_folder()).empty());
}

// A disk that fills up during the copy: the process may write no more than 64 KiB
// into any file, so the copy's writes fail part way, as on a full disk.
TEST_F(PosixCopyTest, AWriteThatFailsPartWayLeavesNothingBehind) {
    CopyResult result;
    {
        FileSizeLimit full_disk(64 * 1024);
        ASSERT_TRUE(full_disk.ok());
        result = copy("Kick.wav");
    }
    EXPECT_EQ(result, CopyResult::kFailed);
    EXPECT_TRUE(names_in(target_folder()).empty());
}

// The source grows or shrinks during the copy (another program still writes it), or
// the copy is given up: no copy, and no temporary file, is left.
TEST_F(PosixCopyTest, ACopyOfAChangingFileOrOneGivenUpLeavesNothing) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"grows", [&] { temp.write("from/Kick.wav", std::string(300000, 'k')); }},
        {"shrinks", [&] { fs::resize_file(source(), 1000); }},
        {"given up", [] {}},
    };
    for (const auto& [what, change] : changes) {
        temp.write("from/Kick.wav", std::string(200000, 'k'));
        int asked = 0;
        // Asked before each part: the change comes after the first part was copied.
        CopyResult result = copy("Kick.wav", 1 << 20, [&, &change = change, what = what] {
            if (++asked == 2) change();
            return std::string_view(what) == "given up" && asked == 2;
        });
        EXPECT_EQ(result, CopyResult::kFailed) << what;
        EXPECT_GE(asked, 2) << what;
        EXPECT_TRUE(names_in(target_folder()).empty()) << what;
    }
}

TEST_F(PosixCopyTest, OnlyTheHiddenFilesOfCutOffCopiesAreRemoved) {
    for (const char* name : {".tiltophon-copy-a1B2c3", ".tiltophon-copy-XyZ789", "Kick.wav",
                             ".hidden", "tiltophon-copy-ab"}) {
        temp.write(std::string("to/") + name, "x");
    }
    fs::create_directory(target_folder() + "/.tiltophon-copy-folder");
    files.remove_unfinished_copies(u16(target_folder()));
    EXPECT_EQ(names_in(target_folder()),
              (std::vector<std::string>{".hidden", ".tiltophon-copy-folder", "Kick.wav",
                                        "tiltophon-copy-ab"}));
}

TEST_F(PosixCopyTest, AnUnwritableFolderRefusesTheCopy) {
    fs::permissions(target_folder(), fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(temp.path(), fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    fs::permissions(temp.file("from"), fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    fs::permissions(source(), fs::perms::others_read, fs::perm_options::add);
    EXPECT_TRUE(holds_without_privileges([&] { return copy("Kick.wav") == CopyResult::kFailed; }));
    EXPECT_TRUE(names_in(target_folder()).empty());
    fs::permissions(target_folder(), fs::perms::owner_all);
}

}  // namespace
}  // namespace tiltophon
