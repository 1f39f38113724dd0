// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real executable on a virtual X display (xvfb-run), driven with xdotool and
// watched through screenshots of the display (ImageMagick's import), with SDL's
// disk audio driver as its sound card and a named pipe as its accelerometer. Waits
// are real, in short bounded polls.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/BuiltProgram.h"
#include "e2e/ProcessTools.h"
#include "e2e/ProgramProcess.h"
#include "motion/TempFolder.h"
#include "platform/Text.h"
#include "platform/media/PngImageCodec.h"
#include "support/CiSkip.h"
#include "support/ReadFile.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace e2e;

const std::string kSwing = std::string(TILTOPHON_BINARY_DIR) + "/bin/tiltophon-swing";

const std::string kStored =
    "REGEDIT4\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n"
    "\"SoundSlot1Folder\"=\"Drums\"\n"
    "\"SoundSlot1Name\"=\"Kick.wav\"\n";

std::size_t loud_bytes(const std::string& file) {
    std::string bytes = read_file(file);
    return std::count_if(bytes.begin(), bytes.end(), [](char b) { return b != 0; });
}

class ScreensE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"xvfb-run", "xdotool", "import"}) {
            if (!find_program_in_path(tool)) SKIP_OR_FAIL_IN_CI(tool << " is not installed");
        }
        ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
        ASSERT_TRUE(fs::exists(kSwing)) << kSwing;
        fs::create_directories(folder.file("run"));
        fs::permissions(folder.file("run"), fs::perms::owner_all);
        folder.write(kSettingsFile, kStored);
    }
    void TearDown() override { end_process(running_); }

    std::vector<std::string> base_env() const {
        std::vector<std::string> env = environment_without(
            {"DISPLAY=", "XAUTHORITY=", "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=",
             "SDL_DISKAUDIOFILE=", "SDL_RENDER_DRIVER=", "SDL_FRAMEBUFFER_ACCELERATION=",
             "XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "XDG_RUNTIME_DIR=", "TILTOPHON_SCREEN=",
             "TILTOPHON_SENSOR="});
        env.push_back("XDG_CONFIG_HOME=" + folder.file("config"));
        env.push_back("XDG_DATA_HOME=" + folder.file("data"));
        env.push_back("XDG_RUNTIME_DIR=" + folder.file("run"));
        return env;
    }

    // Starts the program on a display of its own, by default one that just fits its
    // window; true once the Home page is on the display.
    bool start_program(const std::string& audio_file, int32_t screen_width = 480,
                       int32_t screen_height = 640) {
        if (start_once(audio_file, screen_width, screen_height)) return true;
        // xvfb-run -a takes the first display number without a lock file, so two test
        // runs on one machine can start servers on the same number; the program then
        // cannot open its display, says so and ends. That is the test display's failure,
        // not the program's: say what the display server said, and start both once more.
        if (running_ <= 0 || ::waitpid(running_, nullptr, WNOHANG) == 0) return false;
        running_ = 0;
        std::cerr << "the program ended as it started; the display server said:\n"
                  << read_file(folder.file("xvfb.log")) << "starting it once more\n";
        return start_once(audio_file, screen_width, screen_height);
    }

    bool start_once(const std::string& audio_file, int32_t screen_width, int32_t screen_height) {
        screen_width_ = screen_width;
        screen_height_ = screen_height;
        // The new window is centred on the display.
        frame_area_ = {(screen_width - 480) / 2, (screen_height - 640) / 2,
                       (screen_width + 480) / 2, (screen_height + 640) / 2};
        fs::remove(folder.file("display"));
        std::vector<std::string> env = base_env();
        // No GPU behind a virtual display: SDL's own software renderer rather than
        // a software OpenGL driver.
        env.push_back("SDL_RENDER_DRIVER=software");
        env.push_back("SDL_FRAMEBUFFER_ACCELERATION=0");
        env.push_back("SDL_AUDIODRIVER=disk");
        env.push_back("SDL_DISKAUDIOFILE=" + audio_file);
        env.push_back("TILTOPHON_SENSOR=fifo:" + fifo());
        std::string script = "printf '%s\\n%s\\n' \"$DISPLAY\" \"$XAUTHORITY\" > '" +
                             folder.file("display") + "'; exec '" + kProgram + "'";
        std::string screen = "-screen 0 " + std::to_string(screen_width) + "x" +
                             std::to_string(screen_height) + "x24";
        running_ = spawn({"xvfb-run", "-a", "-e", folder.file("xvfb.log"), "-s", screen, "sh", "-c",
                          script},
                         env);
        if (running_ <= 0) return false;
        if (!poll_until(10s, [&] {
                std::string info = read_file(folder.file("display"));
                return std::count(info.begin(), info.end(), '\n') == 2;
            })) {
            return false;
        }
        std::stringstream info(read_file(folder.file("display")));
        std::getline(info, display_);
        std::getline(info, xauthority_);
        // The start-up shows its splash screen for two seconds first; under a sanitizer
        // on a busy machine it can take far longer.
        return poll_until(60s, [&] {
            return looks_like_home() || ::waitpid(running_, nullptr, WNOHANG) != 0;
        }) && ::waitpid(running_, nullptr, WNOHANG) == 0;
    }

    std::optional<int> wait_program_exit() {
        auto status = wait_exit(running_, 10s);
        if (status) running_ = 0;
        return status;
    }

    std::vector<std::string> display_env() const {
        std::vector<std::string> env = base_env();
        env.push_back("DISPLAY=" + display_);
        env.push_back("XAUTHORITY=" + xauthority_);
        return env;
    }

    bool run_tool(const std::vector<std::string>& arguments,
                  std::chrono::milliseconds limit = 10s) {
        pid_t pid = spawn(arguments, display_env());
        if (pid <= 0) return false;
        auto status = wait_exit(pid, limit);
        if (!status) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            return false;
        }
        return WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }

    // A tap, and time for the page change it may start to end.
    void tap(int32_t x, int32_t y) {
        ASSERT_TRUE(run_tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y),
                              "mousedown", "1", "sleep", "0.05", "mouseup", "1"}));
        std::this_thread::sleep_for(700ms);
    }

    std::optional<Bitmap> screenshot() {
        std::string file = folder.file("screen.png");
        fs::remove(file);
        if (!run_tool({"import", "-window", "root", "PNG32:" + file})) return std::nullopt;
        PngImageCodec codec;
        std::unique_ptr<Bitmap> picture = codec.load_png(utf16_from_utf8(file));
        if (!picture || picture->width() != screen_width_ || picture->height() != screen_height_) {
            return std::nullopt;
        }
        return *picture;
    }

    // The display once a page change has ended: two screenshots in a row the same. A
    // busy machine can stretch a transition well past its nominal length.
    std::optional<Bitmap> settled_screenshot() {
        std::optional<Bitmap> last = screenshot();
        std::optional<Bitmap> now;
        bool settled = poll_until(15s, [&] {
            now = screenshot();
            bool same = last && now && differing_share(*last, *now, {0, 0, screen_width_,
                                                                      screen_height_}) == 0;
            last = now;
            return same;
        });
        return settled ? now : std::nullopt;
    }

    // The frame as the window shows it now, read back at its own size.
    std::optional<Bitmap> shown_frame() {
        auto shot = screenshot();
        if (!shot) return std::nullopt;
        return frame_from_screenshot(*shot, frame_area_, 480, 640);
    }

    // The top bar and the tab bar as the Home page shows them.
    bool looks_like_home() {
        if (display_.empty()) return false;
        auto shot = shown_frame();
        if (!shot) return false;
        PngImageCodec codec;
        auto home = codec.load_png(
            utf16_from_utf8(std::string(TILTOPHON_SOURCE_DIR) + "/tests/golden/page_home.png"));
        if (!home) return false;
        return differing_blocks_share(*shot, *home, {0, 0, 480, 52}) < 0.02 &&
               differing_blocks_share(*shot, *home, {0, 532, 480, 640}) < 0.02;
    }

    // A forward swing into the sensor pipe until `audio` holds 4000 more sounding bytes
    // than `before`. The pipe keeps only the newest sample, so a program starved of the
    // processor for longer than a polling period can miss a swing on a busy machine;
    // a second or third swing must then be heard.
    bool swing_forward_until_heard(const std::string& audio, std::size_t before) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!run_tool({kSwing, "--fifo", fifo(), "--wait", "forward"}, 20s)) return false;
            if (poll_until(5s, [&] { return loud_bytes(audio) > before + 4000; })) return true;
        }
        return false;
    }

    std::string fifo() const { return folder.file("run/sensor"); }
    std::string settings_file() const { return folder.file(kSettingsFile); }

    TempFolder folder;
    pid_t running_ = 0;
    int32_t screen_width_ = 480;
    int32_t screen_height_ = 640;
    Rect frame_area_{0, 0, 480, 640};  // where the window shows the frame on the display
    std::string display_;
    std::string xauthority_;
};

TEST_F(ScreensE2ETest, ASwingPlaysTheSlotAndEveryChangeOutlivesARestart) {
    const std::string audio = folder.file("audio1.raw");
    ASSERT_TRUE(start_program(audio)) << "the Home page did not appear";

    // Motion on, then a forward swing: slot 1, Drums/Kick.wav, reaches the sound card.
    tap(400, 452);
    ASSERT_EQ(loud_bytes(audio), 0u) << "sound before any swing";
    EXPECT_TRUE(swing_forward_until_heard(audio, 0)) << "no sound in " << audio;

    // Slot 2 gets the first sound of the list through the Sounds page and the pick screen.
    tap(240, 590);
    tap(230, 196);
    tap(240, 92);
    tap(350, 586);
    auto sounds_page = settled_screenshot();
    ASSERT_TRUE(sounds_page);

    // X sensitivity one up, from 5 to 6.
    tap(400, 590);
    tap(430, 132);
    auto settings_page = settled_screenshot();
    ASSERT_TRUE(settings_page);

    tap(454, 26);  // the close button
    auto status = wait_program_exit();
    ASSERT_TRUE(status.has_value()) << "the close button did not end the program";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);

    std::string saved = read_file(settings_file());
    for (const char* value :
         {"\"SoundSlot1Folder\"=\"Drums\"", "\"SoundSlot1Name\"=\"Kick.wav\"",
          "\"SoundSlot2Folder\"=\"Bells\"", "\"SensitivityX\"=dword:00000006",
          "\"SensitivityY\"=dword:00000005", "\"AnimationsOn\"=dword:00000001"}) {
        EXPECT_NE(saved.find(value), std::string::npos) << value << " missing from\n" << saved;
    }
    EXPECT_EQ(saved.find("\"SoundSlot2Name\"=\"\""), std::string::npos) << saved;

    // Started again, the program shows the same Sounds and Settings pages.
    ASSERT_TRUE(start_program(folder.file("audio2.raw"))) << "the Home page did not come back";
    tap(240, 590);
    auto sounds_again = settled_screenshot();
    ASSERT_TRUE(sounds_again);
    EXPECT_LT(differing_share(*sounds_page, *sounds_again, {0, 52, 480, 532}), 0.01);
    tap(400, 590);
    auto settings_again = settled_screenshot();
    ASSERT_TRUE(settings_again);
    EXPECT_LT(differing_share(*settings_page, *settings_again, {0, 52, 480, 532}), 0.01);

    tap(454, 26);
    EXPECT_TRUE(wait_program_exit().has_value());
}

// A window that a window manager resizes shows the whole frame at the largest even
// scale, centred, and takes taps where it shows the controls. Sizes no window should
// have come first: the program lives through them.
TEST_F(ScreensE2ETest, AResizedWindowShowsTheFrameUndistortedAndTakesTapsOnItsScaledTabBar) {
    // A square display is a desktop's: the program opens its 480 x 640 window.
    ASSERT_TRUE(start_program(folder.file("audio.raw"), 1000, 1000)) << "no Home page";
    for (const char* size : {"1 1", "10000 10000", "960 1000"}) {
        std::string command = "xdotool search --name '^Tiltophon$' windowmove 0 0 windowsize " +
                              std::string(size);
        ASSERT_TRUE(run_tool({"sh", "-c", command})) << size;
        std::this_thread::sleep_for(700ms);
        ASSERT_EQ(::waitpid(running_, nullptr, WNOHANG), 0) << "the program ended at " << size;
    }
    // 1000 / 640 = 1.5625 times: the frame is 750 x 1000, with black bands of 105.
    frame_area_ = {105, 0, 855, 1000};
    // Presenting at 10000 x 10000 is slow in software; the frames it queued come first.
    ASSERT_TRUE(poll_until(30s, [&] { return looks_like_home(); })) << "Home is not shown scaled";
    auto shot = screenshot();
    ASSERT_TRUE(shot);
    for (int32_t y : {0, 500, 999}) {
        EXPECT_EQ(shot->pixel(50, y) & 0xFFFFFFu, 0u) << "left band at " << y;
        EXPECT_EQ(shot->pixel(900, y) & 0xFFFFFFu, 0u) << "right band at " << y;
    }

    // The Settings tab, at (400, 586) in the frame, is at (730, 916) in the window.
    tap(730, 916);
    ASSERT_TRUE(settled_screenshot());
    auto settings = shown_frame();
    ASSERT_TRUE(settings);
    PngImageCodec codec;
    auto golden = codec.load_png(
        utf16_from_utf8(std::string(TILTOPHON_SOURCE_DIR) + "/tests/golden/page_settings.png"));
    ASSERT_TRUE(golden);
    EXPECT_LT(differing_blocks_share(*settings, *golden, {0, 532, 480, 640}), 0.02) << "tab bar";
    EXPECT_LT(differing_blocks_share(*settings, *golden, {0, 0, 480, 640}), 0.03)
        << "Settings page";

    tap(815, 41);  // the close button, at (454, 26) in the frame
    EXPECT_TRUE(wait_program_exit().has_value()) << "the close button did not end the program";
}

// A FLAC file of the user's own, in a set of their own, picked for slot 1 through the
// Sounds page and the pick screen, plays on a forward swing.
TEST_F(ScreensE2ETest, AUsersFlacPickedForASlotPlaysOnASwing) {
    if (!find_program_in_path("sox")) SKIP_OR_FAIL_IN_CI("sox is not installed");
    // "Aardvark" comes first in the pick list.
    std::string set = folder.file("data/tiltophon/Sounds/Aardvark");
    fs::create_directories(set);
    ASSERT_TRUE(run_tool({"sox", "-n", "-r", "44100", "-c", "1", set + "/Moo.flac", "synth", "0.4",
                          "sine", "660"}));
    // Slot 1 starts empty, so that only the picked sound can sound.
    folder.write(kSettingsFile, "REGEDIT4\n\n"
                                "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n"
                                "\"SoundSlot1Folder\"=\"\"\n"
                                "\"SoundSlot1Name\"=\"\"\n");
    const std::string audio = folder.file("audio.raw");
    ASSERT_TRUE(start_program(audio)) << "the Home page did not appear";

    tap(240, 590);  // the Sounds tab
    tap(230, 100);  // slot 1's row
    tap(240, 92);   // the first sound of the list, which plays it once
    ASSERT_TRUE(poll_until(5s, [&] { return loud_bytes(audio) > 4000; }))
        << "the pick list's preview did not sound";
    tap(350, 586);  // OK
    tap(80, 590);   // the Home tab
    tap(400, 452);  // motion on
    // The preview has long ended: only the swing can add sound now.
    std::size_t before = loud_bytes(audio);
    EXPECT_TRUE(swing_forward_until_heard(audio, before)) << "no sound in " << audio;

    tap(454, 26);  // the close button
    ASSERT_TRUE(wait_program_exit().has_value());
    std::string saved = read_file(settings_file());
    EXPECT_NE(saved.find("\"SoundSlot1Folder\"=\"Aardvark\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"SoundSlot1Name\"=\"Moo.flac\""), std::string::npos) << saved;
}

}  // namespace
}  // namespace tiltophon
