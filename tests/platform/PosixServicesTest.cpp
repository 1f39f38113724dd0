// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "motion/TempFolder.h"
#include "platform/ScreenSpec.h"
#include "platform/Text.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/posix/PosixSingleInstance.h"
#include "platform/posix/QuitSignals.h"
#include "platform/posix/SysfsVibrator.h"
#include "support/CiSkip.h"
#include "support/ReadFile.h"
#include "support/ScopedEnv.h"

namespace tiltophon {
namespace {

TEST(ScreenSpecTest, AcceptsSizesWithOrWithoutDpiAndRefusesTheRest) {
    std::optional<ScreenInfo> screen = parse_screen_spec("240x320@96");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->width, 240);
    EXPECT_EQ(screen->height, 320);
    EXPECT_EQ(screen->dpi_x, 96);
    EXPECT_EQ(screen->dpi_y, 96);
    screen = parse_screen_spec("720x1440");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->dpi_x, 192);
    EXPECT_TRUE(parse_screen_spec("4096x4096@1200"));

    for (const char* bad :
         {"", "x", "480", "480x", "x640", "480x640@", "-480x640@96", "480x640@96dpi", " 480x640@96",
          "0x640@96", "480x0@96", "4097x640", "480x4097", "100000x100000@96", "4294967776x640@96", "480x640@0",
          "480x640@100000", "480X640@192"}) {
        EXPECT_FALSE(parse_screen_spec(bad)) << bad;
    }
}

TEST(PosixFileSystemTest, ListsAFolderInNameOrderIgnoringCase) {
    TempFolder folder;
    for (const char* name : {"snare.wav", "Kick.wav", "clap.wav", "HiHat.wav"}) {
        folder.write(name, "");
    }
    std::filesystem::create_directory(folder.path() / "Bells");
    PosixFileSystem files;
    std::vector<DirectoryEntry> entries =
        files.list_directory(utf16_from_utf8(folder.path().string()));
    std::vector<std::u16string> names;
    for (const DirectoryEntry& entry : entries) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Bells", u"clap.wav", u"HiHat.wav", u"Kick.wav",
                                                  u"snare.wav"}));
    EXPECT_TRUE(entries[0].is_directory);
    EXPECT_TRUE(files.list_directory(u"/no/such/folder").empty());
}

TEST(SysfsVibratorTest, DrivesTheLedOrTheTimedOutputVibrator) {
    TempFolder sys;
    EXPECT_EQ(SysfsVibrator::find(sys.path().string()), nullptr);

    sys.write("timed_output/vibrator/enable", "0");
    std::unique_ptr<SysfsVibrator> timed = SysfsVibrator::find(sys.path().string());
    ASSERT_NE(timed, nullptr);
    timed->set_vibrating(true);
    EXPECT_EQ(read_file(sys.file("timed_output/vibrator/enable")), "10000");
    timed->set_vibrating(false);
    EXPECT_EQ(read_file(sys.file("timed_output/vibrator/enable")), "0");

    // The LED class wins, switched on at its full brightness.
    sys.write("leds/vibrator/brightness", "0");
    sys.write("leds/vibrator/max_brightness", "255\n");
    std::unique_ptr<SysfsVibrator> led = SysfsVibrator::find(sys.path().string());
    ASSERT_NE(led, nullptr);
    led->set_vibrating(true);
    EXPECT_EQ(read_file(sys.file("leds/vibrator/brightness")), "255");
    led->set_vibrating(false);
    EXPECT_EQ(read_file(sys.file("leds/vibrator/brightness")), "0");
}

TEST(PosixProcessLauncherTest, ReportsWhetherTheProgramStarted) {
    PosixProcessLauncher launcher;
    EXPECT_TRUE(launcher.spawn(u"true", u"https://example.org/?a=1;b=$(x)"));
    EXPECT_FALSE(launcher.spawn(u"/nonexistent/tiltophon-browser", u"https://example.org"));
    EXPECT_FALSE(launcher.spawn(u"", u"https://example.org"));
}

// The program blocks its quit signals for a thread that waits for them; a browser it
// starts must not inherit that, or SIGTERM could not end it.
TEST(PosixProcessLauncherTest, AStartedProgramHasNoSignalBlocked) {
    TempFolder folder;
    // sed, unlike a shell, leaves the mask it was given as it is.
    const std::string report = folder.file("blocked");
    std::string script = folder.write("report", "#!/bin/sed -nf\n/^SigBlk/w " + report + "\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    {
        QuitSignals signals([] {});
        ASSERT_TRUE(PosixProcessLauncher().spawn(utf16_from_utf8(script), u"/proc/self/status"));
    }
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (read_file(report).empty() && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(read_file(report), "SigBlk:\t0000000000000000\n");
}

TEST(PosixProcessLauncherTest, KnowsProgramFilesWhosePathsHoldBlanks) {
    TempFolder folder;
    std::string browser = folder.write("Web Browser/browse now", "#!/bin/sh\nexit 0\n");
    std::string text = folder.write("Web Browser/read me", "not a program\n");
    std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
    std::filesystem::permissions(text, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    PosixProcessLauncher launcher;
    EXPECT_TRUE(launcher.is_program_file(utf16_from_utf8(browser)));
    EXPECT_TRUE(launcher.spawn(utf16_from_utf8(browser), u"https://example.org"));
    EXPECT_FALSE(launcher.is_program_file(utf16_from_utf8(text)));
    EXPECT_FALSE(launcher.is_program_file(utf16_from_utf8(folder.file("Web Browser"))));
    EXPECT_FALSE(launcher.is_program_file(utf16_from_utf8(folder.file("Web"))));
    EXPECT_FALSE(launcher.is_program_file(u""));
}

TEST(PosixSingleInstanceThreadsTest, ALaterStartAsksTheRunningOneToComeForward) {
    TempFolder folder;
    std::mutex mutex;
    std::condition_variable raised_changed;
    int raised = 0;
    auto on_raise = [&] {
        std::lock_guard lock(mutex);
        ++raised;
        raised_changed.notify_all();
    };

    {
        PosixSingleInstance running(folder.path().string(), "tiltophon");
        ASSERT_FALSE(running.signal_existing_or_listen(on_raise));
        EXPECT_TRUE(std::filesystem::exists(running.socket_path()));

        PosixSingleInstance later(folder.path().string(), "tiltophon");
        EXPECT_TRUE(later.signal_existing_or_listen([] { FAIL() << "the later start listened"; }));
        std::unique_lock lock(mutex);
        EXPECT_TRUE(
            raised_changed.wait_for(lock, std::chrono::seconds(10), [&] { return raised == 1; }));
    }

    // Once the running copy has ended, the next start runs, even over a stale socket file.
    folder.write("tiltophon.sock", "left by a crash");
    PosixSingleInstance next(folder.path().string(), "tiltophon");
    EXPECT_FALSE(next.signal_existing_or_listen(nullptr));
}

TEST(PosixSingleInstanceTest, WithoutARuntimeFolderTheLockLivesInAPrivateFolder) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv tmpdir("TMPDIR", temp.path().c_str());
    const std::string mine = temp.file("tiltophon-" + std::to_string(::geteuid()));

    PosixSingleInstance instance = PosixSingleInstance::for_user("tiltophon");
    EXPECT_EQ(instance.lock_path(), mine + "/tiltophon.lock");
    EXPECT_FALSE(instance.signal_existing_or_listen(nullptr));
    struct stat status {};
    ASSERT_EQ(::lstat(mine.c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_TRUE(std::filesystem::exists(instance.socket_path()));
}

TEST(PosixSingleInstanceTest, AFolderOthersMayEnterOrThatIsALinkIsRefused) {
    TempFolder temp;
    EXPECT_EQ(PosixSingleInstance::private_folder(temp.file("new")), temp.file("new"));
    EXPECT_EQ(PosixSingleInstance::private_folder(temp.file("new")), temp.file("new"));

    std::filesystem::create_directory(temp.file("open"));
    ::chmod(temp.file("open").c_str(), 0755);
    EXPECT_EQ(PosixSingleInstance::private_folder(temp.file("open")), "");

    std::filesystem::create_directory_symlink(temp.file("new"), temp.file("link"));
    EXPECT_EQ(PosixSingleInstance::private_folder(temp.file("link")), "");

    temp.write("file", "");
    EXPECT_EQ(PosixSingleInstance::private_folder(temp.file("file")), "");
    EXPECT_EQ(PosixSingleInstance::private_folder(temp.file("missing/below")), "");

    // Without a private folder there is no lock, and the program runs.
    PosixSingleInstance unchecked("", "tiltophon");
    EXPECT_FALSE(unchecked.signal_existing_or_listen(nullptr));
}

TEST(PosixSingleInstanceTest, AFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) SKIP_OR_FAIL_IN_CI("only root can give a folder to another user");
    TempFolder temp;
    std::filesystem::create_directory(temp.file("theirs"));
    ::chmod(temp.file("theirs").c_str(), 0700);
    ASSERT_EQ(::chown(temp.file("theirs").c_str(), 65534, 65534), 0);
    EXPECT_EQ(PosixSingleInstance::private_folder(temp.file("theirs")), "");
}

TEST(PosixSingleInstanceThreadsTest, ALockLinkedElsewhereOrHeldByNobodyWhoAnswersLetsTheProgramRun) {
    TempFolder folder;
    // A lock file that is a link is not followed, so its target is not touched.
    std::filesystem::create_symlink(folder.file("target"), folder.file("linked.lock"));
    PosixSingleInstance linked(folder.path().string(), "linked");
    EXPECT_FALSE(linked.signal_existing_or_listen(nullptr));
    EXPECT_FALSE(std::filesystem::exists(folder.file("target")));

    // Someone holds the lock but nothing listens: this copy starts all the same.
    int held = ::open(folder.file("held.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    PosixSingleInstance blocked(folder.path().string(), "held");
    EXPECT_FALSE(blocked.signal_existing_or_listen(nullptr));
    ::close(held);
}

}  // namespace
}  // namespace tiltophon
