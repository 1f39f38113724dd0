// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "motion/TempFolder.h"
#include "platform/Platform.h"
#include "platform/posix/PosixFileSystem.h"
#include "sound/SoundBank.h"
#include "sound/SoundLibraryFakes.h"
#include "support/Unprivileged.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;

// A real library folder on disk, removed afterwards.
class SoundBankOnDisk : public ::testing::Test {
protected:
    SoundBankOnDisk() : root(temp.path()) {
        fs::create_directories(root / "Sounds");
        Platform services;
        services.files = &files;
        services.images = &images;
        install_platform(services);
    }
    ~SoundBankOnDisk() override {
        install_platform({});
        // Locked folders must open again for the temporary folder to go.
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(root, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }

    void write(const fs::path& relative, const std::string& bytes) {
        fs::path path = root / "Sounds" / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::u16string library() const { return utf16_from_utf8((root / "Sounds").string() + "/"); }

    // Every file and folder under the root with its size and time of change.
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> snapshot() const {
        std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> state;
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(root, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code e;
            std::uintmax_t size = it->is_regular_file(e) ? it->file_size(e) : 0;
            state[it->path().string()] = {size, fs::last_write_time(it->path(), e)};
        }
        return state;
    }

    TempFolder temp;
    fs::path root;
    PosixFileSystem files;
    testing::FakeImageCodec images;
};

TEST_F(SoundBankOnDisk, BuildsTheBankFromWhatIsUsableAndModifiesNothing) {
    write("Drums/Kick.wav", "RIFF");
    write("Drums/DrumsB.png", "png");
    write("Drums/DrumsS.png", "");  // empty: cannot be decoded
    write("Drums/Notes.txt", "x");
    write("Loose.wav", "RIFF");
    // A name that is not valid UTF-8, as byte soup from another system.
    write(
        "Gl\xFF"
        "cken/Ding\xFE.wav",
        "RIFF");
    // Links: one to the library itself, one that points to itself, one dangling.
    fs::create_directory_symlink(root / "Sounds", root / "Sounds" / "Loop");
    fs::create_symlink(root / "Sounds" / "Self", root / "Sounds" / "Self");
    fs::create_symlink(root / "nowhere", root / "Sounds" / "Dangling");
    auto before = snapshot();

    SoundBank bank;
    bank.Scan(library());
    bank.Sort(FolderAscending);

    EXPECT_EQ(snapshot(), before);
    std::map<std::u16string, const SoundEntry*> by_path;
    for (int32_t i = 0; i < bank.Count(); ++i)
        by_path[bank.EntryAt(i)->FilePath.str()] = bank.EntryAt(i);
    // Drums/Kick.wav, the odd name, and the library's own loose file seen through Loop.
    ASSERT_EQ(by_path.size(), 3u);
    const SoundEntry* kick = by_path[library() + u"Drums/Kick.wav"];
    ASSERT_NE(kick, nullptr);
    EXPECT_NE(kick->BigImage, nullptr);
    EXPECT_EQ(kick->SmallImage, nullptr);
    EXPECT_NE(by_path[library() + u"Loop/Loose.wav"], nullptr);

    // The odd name comes back as the very bytes on disk, so it can be played.
    const SoundEntry* ding = nullptr;
    for (auto& [path, entry] : by_path) {
        if (entry->FileName.view().substr(0, 4) == u"Ding") ding = entry;
    }
    ASSERT_NE(ding, nullptr);
    EXPECT_TRUE(fs::is_regular_file(utf8_from_utf16(ding->FilePath)));
}

TEST_F(SoundBankOnDisk, MissingEmptyOrUnusableLibrariesGiveAnEmptyBank) {
    SoundBank bank;
    bank.Scan(library());
    EXPECT_EQ(bank.Count(), 0);

    bank.Scan(utf16_from_utf8((root / "Absent").string() + "/"));
    EXPECT_EQ(bank.Count(), 0);

    write("NotAFolder", "x");
    bank.Scan(utf16_from_utf8((root / "Sounds" / "NotAFolder").string() + "/"));
    EXPECT_EQ(bank.Count(), 0);
}

TEST_F(SoundBankOnDisk, AnUnreadableSetIsSkipped) {
    write("Locked/Hidden.wav", "RIFF");
    write("Open/Heard.wav", "RIFF");
    fs::permissions(root / "Sounds" / "Locked", fs::perms::none);
    // The scan runs as an ordinary user, whom the permissions stop even when the
    // tests run as the superuser; the temporary folder is opened to that user.
    fs::permissions(root, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);

    EXPECT_TRUE(holds_without_privileges([&] {
        SoundBank bank;
        bank.Scan(library());
        return bank.Count() == 1 && bank.EntryAt(0)->FileName.view() == u"Heard.wav";
    }));
}

TEST_F(SoundBankOnDisk, LongNamesAndDeepLibrariesNeverGiveACutPath) {
    std::string long_name(251, 'n');
    write("Set/" + long_name + ".wav", "RIFF");
    write("Set/Short.wav", "RIFF");

    SoundBank bank;
    bank.Scan(library());
    ASSERT_EQ(bank.Count(), 2);
    for (int32_t i = 0; i < bank.Count(); ++i) {
        const SoundEntry* entry = bank.EntryAt(i);
        bool fits = library().size() + 4 + entry->FileName.length() <= 259;
        if (fits) {
            EXPECT_TRUE(fs::is_regular_file(utf8_from_utf16(entry->FilePath)));
        } else {
            EXPECT_TRUE(entry->FilePath.empty()) << utf8_from_utf16(entry->FilePath);
        }
    }
}

}  // namespace
}  // namespace tiltophon
