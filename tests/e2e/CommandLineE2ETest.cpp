// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real executable asked questions on its command line, and started where no
// display is: it answers, or says what is missing, and ends without a window, a
// settings file or a single-instance lock.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "e2e/BuiltProgram.h"
#include "e2e/ProgramProcess.h"
#include "motion/TempFolder.h"
#include "support/CiSkip.h"
#include "support/ReadFile.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// No display of any kind, and no driver chosen for SDL.
const std::vector<std::string> kNoDisplay{"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};

struct Ended {
    std::optional<int> status;
    std::string out;
    std::string err;
};

class CommandLineE2ETest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(kProgram)) << kProgram; }

    // Runs the program to its end with `arguments`, without a display.
    Ended run(std::vector<std::string> arguments) {
        ProgramProcess program(kProgram, folder.file("config"), folder.file("run"),
                               std::move(arguments));
        program.change_environment(kNoDisplay);
        const int out = ::open(folder.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(folder.file("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        EXPECT_TRUE(program.start(out, err));
        ::close(out);
        ::close(err);
        Ended ended{program.wait_exit(10s), read_file(folder.file("out")),
                    read_file(folder.file("err"))};
        return ended;
    }

    // Nothing of the program's is left: no settings folder, no lock, no socket.
    void expect_nothing_touched() const {
        EXPECT_FALSE(fs::exists(folder.file("config")));
        EXPECT_TRUE(fs::is_empty(folder.file("run")))
            << fs::directory_iterator(folder.file("run"))->path();
    }

    static int exit_code(const Ended& ended) {
        if (!ended.status) return -1;
        EXPECT_TRUE(WIFEXITED(*ended.status)) << "ended by signal " << WTERMSIG(*ended.status);
        return WEXITSTATUS(*ended.status);
    }

    TempFolder folder;
};

TEST_F(CommandLineE2ETest, HelpAndVersionAnswerOnStandardOutputAndTouchNothing) {
    for (const char* help : {"--help", "-h"}) {
        Ended ended = run({help});
        ASSERT_TRUE(ended.status.has_value()) << help << " did not end";
        EXPECT_EQ(exit_code(ended), 0) << help;
        EXPECT_TRUE(ended.out.starts_with("Usage: tiltophon [OPTION]\n")) << ended.out;
        EXPECT_NE(ended.out.find("--version"), std::string::npos) << ended.out;
        EXPECT_EQ(ended.err, "") << help;
    }
    for (const char* version : {"--version", "-V"}) {
        Ended ended = run({version});
        ASSERT_TRUE(ended.status.has_value()) << version << " did not end";
        EXPECT_EQ(exit_code(ended), 0) << version;
        EXPECT_EQ(ended.out, "tiltophon " TILTOPHON_VERSION "\n");
        EXPECT_EQ(ended.err, "") << version;
    }
    expect_nothing_touched();
}

TEST_F(CommandLineE2ETest, AnUnknownOptionPrintsTheUsageOnStandardErrorAndEndsWithTwo) {
    for (const char* wrong : {"--frobnicate", "-x", "extra"}) {
        Ended ended = run({wrong});
        ASSERT_TRUE(ended.status.has_value()) << wrong << " did not end";
        EXPECT_EQ(exit_code(ended), 2) << wrong;
        EXPECT_EQ(ended.out, "") << wrong;
        EXPECT_NE(ended.err.find(std::string("tiltophon: ")), std::string::npos) << ended.err;
        EXPECT_NE(ended.err.find(wrong), std::string::npos) << ended.err;
        EXPECT_NE(ended.err.find("Usage: tiltophon [OPTION]\n"), std::string::npos) << ended.err;
    }
    expect_nothing_touched();
}

TEST_F(CommandLineE2ETest, WithoutADisplayItSaysSoAndTakesNoLockSoADesktopStartAfterItRuns) {
    Ended ended = run({});
    ASSERT_TRUE(ended.status.has_value()) << "the program runs on without a display";
    EXPECT_NE(exit_code(ended), 0);
    EXPECT_EQ(ended.out, "");
    for (const char* said : {"graphical session", "DISPLAY is not set", "WAYLAND_DISPLAY"}) {
        EXPECT_NE(ended.err.find(said), std::string::npos) << said << " missing from " << ended.err;
    }
    expect_nothing_touched();

    // The user's next start, from the desktop, is the one that runs, and it ends as a
    // closed program does.
    if (!find_program_in_path("xvfb-run")) SKIP_OR_FAIL_IN_CI("xvfb-run is not installed");
    const std::string pid_file = folder.file("pid");
    ProgramProcess desktop("xvfb-run", folder.file("config"), folder.file("run"),
                           {"-a", "-s", "-screen 0 480x640x24", "sh", "-c",
                            "echo $$ > '" + pid_file + "'; exec '" + kProgram + "'"});
    // No GPU behind the virtual display: SDL's own software renderer.
    desktop.change_environment({"WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_RENDER_DRIVER=software",
                                "SDL_FRAMEBUFFER_ACCELERATION=0"});
    ASSERT_TRUE(desktop.start());
    ASSERT_TRUE(desktop.wait_until_running(20s)) << "the desktop start did not take the lock";
    ASSERT_TRUE(ProgramProcess::poll_until(5s, [&] { return !read_file(pid_file).empty(); }));
    ::kill(std::stoi(read_file(pid_file)), SIGTERM);
    std::optional<int> closed = desktop.wait_exit(20s);
    ASSERT_TRUE(closed.has_value()) << "SIGTERM did not end the desktop start";
    EXPECT_TRUE(WIFEXITED(*closed));
    EXPECT_EQ(WEXITSTATUS(*closed), 0);
}

// SDL's video starts on the display, but the window cannot be made (here: a visual
// the X server does not have). The user hears why, the start fails, and the lock is
// let go for the next start.
TEST_F(CommandLineE2ETest, AWindowThatCannotBeMadeIsSaidAndEndsWithOne) {
    if (!find_program_in_path("xvfb-run")) SKIP_OR_FAIL_IN_CI("xvfb-run is not installed");
    ProgramProcess program("xvfb-run", folder.file("config"), folder.file("run"),
                           {"-a", "-s", "-screen 0 480x640x24", kProgram});
    program.change_environment({"WAYLAND_DISPLAY", "SDL_VIDEODRIVER=x11",
                                "SDL_VIDEO_X11_WINDOW_VISUALID=0x7fffffff"});
    const int err = ::open(folder.file("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_TRUE(program.start(-1, err));
    ::close(err);
    std::optional<int> ended = program.wait_exit(30s);
    ASSERT_TRUE(ended.has_value()) << "the program runs on without a window";
    EXPECT_EQ(exit_code({ended, "", ""}), 1);
    const std::string said = read_file(folder.file("err"));
    EXPECT_NE(said.find("tiltophon: the window could not be made"), std::string::npos) << said;
    EXPECT_NE(said.find("video driver x11"), std::string::npos) << said;
    // The lock file may stay; nobody holds it, and nobody listens for a raise.
    EXPECT_FALSE(fs::exists(folder.file("run") + "/tiltophon.sock"));
    EXPECT_FALSE(fs::exists(folder.file("config")));
}

}  // namespace
}  // namespace tiltophon
