// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real executable on a virtual X display with a session bus of its own
// (dbus-run-session), on which a stand-in for the desktop's screen saver records
// every request to hold the screen on. The motion switch is tapped with xdotool.
// Waits are real, in short bounded polls.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/BuiltProgram.h"
#include "e2e/ChildProcess.h"
#include "e2e/ProgramProcess.h"
#include "motion/TempFolder.h"
#include "support/CiSkip.h"
#include "support/ReadFile.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The Python of the system, which the screen saver's stand-in needs for its D-Bus
// and GLib modules.
const std::string kPython = "/usr/bin/python3";
const std::string kStub = std::string(TILTOPHON_SOURCE_DIR) + "/tests/e2e/ScreenSaverStub.py";

// The motion switch on the Home page, in screen pixels.
constexpr int kMotionSwitchX = 400;
constexpr int kMotionSwitchY = 452;

struct Requests {
    std::vector<std::string> inhibits;  // "<application>\t<reason>" of each Inhibit
    int uninhibits = 0;
    bool held() const { return static_cast<int>(inhibits.size()) > uninhibits; }
};

class KeepAwakeE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"dbus-run-session", "xvfb-run", "xdotool"}) {
            if (!find_program_in_path(tool)) SKIP_OR_FAIL_IN_CI(tool << " is not installed");
        }
        pid_t check = spawn({kPython, "-c", "import dbus, gi"}, environment_without({}));
        std::optional<int> checked = check > 0 ? wait_exit(check, 20s) : std::nullopt;
        if (!checked || !WIFEXITED(*checked) || WEXITSTATUS(*checked) != 0) {
            SKIP_OR_FAIL_IN_CI("python3-dbus or python3-gi is not installed");
        }
        ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
        fs::create_directories(folder.file("run"));
        fs::permissions(folder.file("run"), fs::perms::owner_all);
    }
    void TearDown() override {
        if (session_ > 0 && ::waitpid(session_, nullptr, WNOHANG) == 0) {
            if (program_ > 0) ::kill(program_, SIGKILL);
            if (!wait_exit(session_, 10s)) ::kill(session_, SIGKILL);
            ::waitpid(session_, nullptr, 0);
        }
    }

    // The program on its own display and session bus; true once its window is up.
    bool start_program() {
        if (start_once()) return true;
        // xvfb-run -a takes the first display number without a lock file, so two test
        // runs on one machine can start servers on the same number; the program then
        // cannot open its display, says so and ends. That is the test display's failure,
        // not the program's: start both once more.
        if (session_ <= 0 || !wait_exit(session_, 10s)) return false;
        session_ = 0;
        std::cerr << "the program ended as it started; starting it once more\n";
        fs::remove(info_file());
        return start_once();
    }

    bool start_once() {
        std::vector<std::string> env = environment_without(
            {"DISPLAY=", "XAUTHORITY=", "DBUS_SESSION_BUS_ADDRESS=", "SDL_VIDEODRIVER=",
             "SDL_AUDIODRIVER=", "SDL_RENDER_DRIVER=", "SDL_FRAMEBUFFER_ACCELERATION=",
             "XDG_CONFIG_HOME=", "XDG_RUNTIME_DIR=", "TILTOPHON_SCREEN=", "TILTOPHON_SENSOR="});
        // SDL asks the session's screen saver to hold off only through a real display
        // server's driver; on X that is its x11 driver.
        env.push_back("SDL_VIDEODRIVER=x11");
        env.push_back("SDL_AUDIODRIVER=dummy");
        env.push_back("SDL_RENDER_DRIVER=software");
        env.push_back("SDL_FRAMEBUFFER_ACCELERATION=0");
        env.push_back("XDG_CONFIG_HOME=" + folder.file("config"));
        env.push_back("XDG_RUNTIME_DIR=" + folder.file("run"));
        std::string script = "printf '%s\\n%s\\n%s\\n' \"$DISPLAY\" \"$XAUTHORITY\" \"$$\" > '" +
                             info_file() + "'; exec '" + kProgram + "'";
        session_ = spawn({"dbus-run-session", "--", kPython, kStub, log_file(), "xvfb-run", "-a",
                          "-s", "-screen 0 480x640x24", "sh", "-c", script},
                         env);
        if (session_ <= 0) return false;
        if (!poll_until(20s, [&] {
                std::string info = read_file(info_file());
                return std::count(info.begin(), info.end(), '\n') == 3;
            })) {
            return false;
        }
        std::stringstream info(read_file(info_file()));
        std::string pid;
        std::getline(info, display_);
        std::getline(info, xauthority_);
        std::getline(info, pid);
        program_ = static_cast<pid_t>(std::stol(pid));
        return poll_until(60s, [&] { return tool({"xdotool", "search", "--name", "Tiltophon"}); });
    }

    bool tool(const std::vector<std::string>& arguments) {
        std::vector<std::string> env = environment_without({"DISPLAY=", "XAUTHORITY="});
        env.push_back("DISPLAY=" + display_);
        env.push_back("XAUTHORITY=" + xauthority_);
        pid_t pid = spawn(arguments, env);
        if (pid <= 0) return false;
        std::optional<int> status = wait_exit(pid, 10s);
        if (!status) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            return false;
        }
        return WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }

    void tap_motion_switch() {
        ASSERT_TRUE(tool({"xdotool", "mousemove", std::to_string(kMotionSwitchX),
                          std::to_string(kMotionSwitchY), "mousedown", "1", "sleep", "0.05",
                          "mouseup", "1"}));
    }

    Requests requests() const {
        Requests seen;
        std::stringstream lines(read_file(log_file()));
        std::string line;
        while (std::getline(lines, line)) {
            if (line.rfind("Inhibit ", 0) == 0) {
                seen.inhibits.push_back(line.substr(line.find(' ', 8) + 1));
            } else if (line.rfind("UnInhibit ", 0) == 0) {
                ++seen.uninhibits;
            }
        }
        return seen;
    }

    // Taps the switch until the screen is held (or let go), since taps during the
    // start-up's splash screen reach no control. A tap whose request arrives late
    // is followed by another, and the state is looked at again.
    bool switch_motion_to(bool held) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (requests().held() == held) return true;
            tap_motion_switch();
            if (poll_until(2s, [&] { return requests().held() == held; })) return true;
        }
        return false;
    }

    std::string log_file() const { return folder.file("screensaver.log"); }
    std::string info_file() const { return folder.file("display"); }

    TempFolder folder;
    pid_t session_ = 0;
    pid_t program_ = 0;
    std::string display_;
    std::string xauthority_;
};

TEST_F(KeepAwakeE2ETest, TheMotionSwitchHoldsTheScreenOnUnderTheProgramsNameUntilItsStop) {
    ASSERT_TRUE(start_program()) << "the program's window did not appear";
    EXPECT_TRUE(requests().inhibits.empty()) << "held before motion detection started";

    // Held at once, not at the keep-awake timer's first tick 15 minutes later.
    ASSERT_TRUE(switch_motion_to(true)) << read_file(log_file());
    for (const std::string& inhibit : requests().inhibits) {
        EXPECT_EQ(inhibit.substr(0, inhibit.find('\t')), "Tiltophon") << inhibit;
    }
    ASSERT_TRUE(switch_motion_to(false)) << read_file(log_file());

    // Switched on again, then the program ends on SIGTERM: the hold ends with it.
    ASSERT_TRUE(switch_motion_to(true)) << read_file(log_file());
    ASSERT_GT(program_, 0);
    ASSERT_EQ(::kill(program_, SIGTERM), 0);
    std::optional<int> status = wait_exit(session_, 20s);
    ASSERT_TRUE(status.has_value()) << "the session did not end";
    session_ = 0;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "status " << *status;
    Requests last = requests();
    EXPECT_FALSE(last.held()) << read_file(log_file());
    EXPECT_GE(last.inhibits.size(), 2u);
}

}  // namespace
}  // namespace tiltophon
