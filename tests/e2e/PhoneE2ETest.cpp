// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real executable on a phone's compositor: phoc, headless, with one 720 x 1440
// portrait output and no input device at all, the program on SDL's Wayland driver with
// its software renderer; its X11 side through the compositor's Xwayland. Screenshots come from
// grim, clicks from the compositor's virtual pointer. Waits are real, in short bounded polls.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "e2e/BuiltProgram.h"
#include "e2e/ProcessTools.h"
#include "e2e/ProgramProcess.h"
#include "e2e/WaylandPointer.h"
#include "e2e/WaylandToplevels.h"
#include "motion/TempFolder.h"
#include "platform/FramePlacement.h"
#include "platform/Text.h"
#include "platform/media/PngImageCodec.h"
#include "platform/sdl/SdlWindowSystem.h"
#include "support/CiSkip.h"
#include "support/ReadFile.h"
#include "support/ScopedEnv.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace e2e;

constexpr int32_t kDisplayWidth = 720;
constexpr int32_t kDisplayHeight = 1440;
// The logical screen of a 720 x 1440 display, shown 1.5 times as large.
constexpr int32_t kFrameHeight = 960;
constexpr double kScale = 1.5;

const std::string kFullBoard =
    "REGEDIT4\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n"
    "\"SoundSlot1Folder\"=\"Drums\"\n\"SoundSlot1Name\"=\"Kick.wav\"\n"
    "\"SoundSlot2Folder\"=\"Bells\"\n\"SoundSlot2Name\"=\"Chime.wav\"\n"
    "\"SoundSlot3Folder\"=\"Synth\"\n\"SoundSlot3Name\"=\"Zap.wav\"\n"
    "\"SoundSlot4Folder\"=\"Voices\"\n\"SoundSlot4Name\"=\"Oh.wav\"\n"
    "\"SoundSlot5Folder\"=\"Drums\"\n\"SoundSlot5Name\"=\"Snare.wav\"\n";

class PhoneE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"phoc", "grim"}) {
            if (!find_program_in_path(tool)) SKIP_OR_FAIL_IN_CI(tool << " is not installed");
        }
        ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
        fs::create_directories(run_folder());
        fs::permissions(run_folder(), fs::perms::owner_all);
        folder.write(kSettingsFile, kFullBoard);
    }
    void TearDown() override {
        end_process(program_);
        end_process(compositor_);
    }

    std::string run_folder() const { return folder.file("run"); }
    std::string socket() const { return run_folder() + "/wayland-0"; }

    std::vector<std::string> base_env() const {
        std::vector<std::string> env = environment_without(
            {"DISPLAY=", "WAYLAND_DISPLAY=", "XDG_RUNTIME_DIR=", "XDG_CONFIG_HOME=",
             "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=", "SDL_RENDER_DRIVER=",
             "SDL_FRAMEBUFFER_ACCELERATION=", "TILTOPHON_SCREEN=", "TILTOPHON_SENSOR=", "WLR_"});
        env.push_back("XDG_RUNTIME_DIR=" + run_folder());
        return env;
    }
    std::vector<std::string> wayland_env() const {
        std::vector<std::string> env = base_env();
        env.push_back("WAYLAND_DISPLAY=wayland-0");
        return env;
    }

    // The compositor as a phone runs it, without a screen or input devices, with its
    // one output turned by `rotation` degrees, as the shell turns it when the phone is
    // held sideways. With `x11`, it runs an X server (Xwayland) too, named `x_display_`.
    bool start_compositor(int rotation = 0, bool x11 = false) {
        rotation_ = rotation;
        std::string turned = rotation ? "rotate = " + std::to_string(rotation) + "\n" : "";
        std::string core = x11 ? "[core]\nxwayland = true\n" : "";
        folder.write("phoc.ini",
                     core + "[output:HEADLESS-1]\nmode = 720x1440\nscale = 1\n" + turned);
        std::vector<std::string> env = base_env();
        env.push_back("WLR_BACKENDS=headless");
        env.push_back("WLR_RENDERER=pixman");
        env.push_back("WLR_LIBINPUT_NO_DEVICES=1");
        std::vector<std::string> command = {"phoc", "-C", folder.file("phoc.ini")};
        if (x11) {
            // The session the compositor starts learns the X server's name; the
            // compositor ends with it, and it with the compositor's process group.
            command.insert(command.end(),
                           {"-E", "sh -c 'echo \"$DISPLAY\" > " + folder.file("x_display") +
                                      "; exec sleep 600'"});
        }
        compositor_ = spawn(command, env);
        if (compositor_ <= 0 || !poll_until(10s, [&] { return fs::exists(socket()); })) {
            return false;
        }
        if (!x11) return true;
        poll_until(10s, [&] { return !read_file(folder.file("x_display")).empty(); });
        x_display_ = read_file(folder.file("x_display"));
        x_display_.erase(x_display_.find_last_not_of("\n") + 1);
        return !x_display_.empty();
    }

    void stop_all() {
        pointer_ = std::make_unique<WaylandPointer>();
        end_process(program_);
        end_process(compositor_);
        program_ = compositor_ = 0;
        x_display_.clear();
        fs::remove_all(run_folder());
        fs::create_directories(run_folder());
        fs::permissions(run_folder(), fs::perms::owner_all);
        fs::remove(folder.file("x_display"));
    }

    // True once the Home page is on the display.
    bool start_program() {
        std::vector<std::string> env = wayland_env();
        env.push_back("XDG_CONFIG_HOME=" + folder.file("config"));
        env.push_back("SDL_VIDEODRIVER=wayland");
        env.push_back("SDL_RENDER_DRIVER=software");
        env.push_back("SDL_AUDIODRIVER=dummy");
        env.push_back("TILTOPHON_SENSOR=fifo:" + run_folder() + "/sensor");
        // SDL's Wayland driver leaves allocations of its own and of the libraries it
        // loads and unloads again (libdecor, EGL, xkbcommon) to the end of the process,
        // where LeakSanitizer cannot even name the unloaded ones. The program's own
        // leaks are checked by every other test of the whole program.
        std::erase_if(env, [](const std::string& e) { return e.starts_with("LSAN_OPTIONS="); });
        env.push_back("LSAN_OPTIONS=detect_leaks=0");
        program_ = spawn({kProgram}, env);
        return program_ > 0 && poll_until(60s, [&] { return shows("page_home_480x960", 0.03); });
    }

    std::optional<Bitmap> screenshot() {
        std::string file = folder.file("screen.png");
        fs::remove(file);
        pid_t grim = spawn({"grim", file}, wayland_env());
        auto status = grim > 0 ? wait_exit(grim, 10s) : std::nullopt;
        if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) return std::nullopt;
        PngImageCodec codec;
        std::unique_ptr<Bitmap> picture = codec.load_png(utf16_from_utf8(file));
        if (!picture) return std::nullopt;
        // The display as the panel stands, whatever the turn.
        Bitmap upright;
        turn_frame(*picture, -turns(), upright);
        if (upright.width() != kDisplayWidth || upright.height() != kDisplayHeight) {
            return std::nullopt;
        }
        return upright;
    }

    // The compositor's turn of the output, in clockwise quarter turns of what it shows.
    int32_t turns() const { return rotation_ / 90; }

    // The display, read back at the frame's size, looks like the golden page `name`:
    // the bars and the page, but for the softened edges of a 1.5 times scale.
    bool shows(const std::string& name, double page_tolerance) {
        auto shot = screenshot();
        if (!shot) return false;
        last_shot_ = *shot;
        Bitmap frame =
            frame_from_screenshot(*shot, {0, 0, kDisplayWidth, kDisplayHeight}, 480, kFrameHeight);
        PngImageCodec codec;
        auto golden = codec.load_png(
            utf16_from_utf8(std::string(TILTOPHON_SOURCE_DIR) + "/tests/golden/" + name + ".png"));
        if (!golden) return false;
        last_differences_ = {
            differing_blocks_share(frame, *golden, {0, 0, 480, 52}),
            differing_blocks_share(frame, *golden, {0, kFrameHeight - 108, 480, kFrameHeight}),
            differing_blocks_share(frame, *golden, {0, 0, 480, kFrameHeight})};
        return last_differences_[0] < 0.03 && last_differences_[1] < 0.03 &&
               last_differences_[2] < page_tolerance;
    }

    // A finger on the frame's pixel (x, y), where the turned display shows it.
    void touch(int32_t x, int32_t y) {
        int32_t px = int32_t((x + 0.5) * kScale);
        int32_t py = int32_t((y + 0.5) * kScale);
        int32_t w = kDisplayWidth;
        int32_t h = kDisplayHeight;
        for (int32_t i = 0; i < turns(); ++i) {  // each a clockwise quarter turn
            int32_t turned_x = h - 1 - py;
            py = px;
            px = turned_x;
            std::swap(w, h);
        }
        ASSERT_TRUE(pointer_->click(uint32_t(px), uint32_t(py), uint32_t(w), uint32_t(h)));
        std::this_thread::sleep_for(700ms);
    }

    // Rows between the bars where every pixel is pure black.
    int black_rows() const {
        int rows = 0;
        for (int32_t y = int32_t(52 * kScale); y < kDisplayHeight - int32_t(108 * kScale); ++y) {
            bool black = true;
            for (int32_t x = 0; x < kDisplayWidth && black; ++x) {
                black = (last_shot_.pixel(x, y) & 0xFFFFFFu) == 0;
            }
            rows += black;
        }
        return rows;
    }

    TempFolder folder;
    std::unique_ptr<WaylandPointer> pointer_ = std::make_unique<WaylandPointer>();
    pid_t compositor_ = 0;
    pid_t program_ = 0;
    int rotation_ = 0;
    std::string x_display_;
    Bitmap last_shot_;
    std::vector<double> last_differences_{1, 1, 1};
};

TEST_F(PhoneE2ETest, ThePagesFillAPortraitDisplayUndistortedAndTouchesReachTheirControls) {
    ASSERT_TRUE(start_compositor()) << "phoc did not start";
    // A compositor without input devices offers no seat, and SDL's Wayland driver
    // (2.26) cannot start without one; the made-up pointer brings the seat. It is no
    // touch screen: the program takes the display for a phone's by its shape alone.
    ASSERT_TRUE(pointer_->connect(socket())) << "no virtual pointer from the compositor";
    ASSERT_TRUE(start_program()) << "no Home page filling the display; differences "
                                 << last_differences_[0] << ", " << last_differences_[1] << ", "
                                 << last_differences_[2];
    // The top bar starts at the display's top edge, the tab bar ends at its bottom edge:
    // not a black row at either.
    for (int32_t x : {10, 360, 710}) {
        EXPECT_NE(last_shot_.pixel(x, 0) & 0xFFFFFFu, 0u) << "top edge at " << x;
        EXPECT_NE(last_shot_.pixel(x, kDisplayHeight - 1) & 0xFFFFFFu, 0u)
            << "bottom edge at " << x;
    }
    // The shell finds the program's desktop entry, and so its icon and name.
    WaylandToplevels windows;
    ASSERT_TRUE(windows.read(socket())) << "the compositor lists no windows";
    EXPECT_EQ(windows.app_ids, (std::vector<std::string>{"org.tiltophon.Tiltophon"}));

    EXPECT_EQ(black_rows(), 0) << "Home floats in black";

    touch(240, kFrameHeight - 54);  // the Sounds tab
    EXPECT_TRUE(poll_until(20s, [&] { return shows("page_sounds_480x960", 0.03); }))
        << "the Sounds page did not come; differences " << last_differences_[0] << ", "
        << last_differences_[1] << ", " << last_differences_[2];
    EXPECT_EQ(black_rows(), 0) << "Sounds floats in black";

    // The pages drawn on black for the handset have a ground on the tall display too.
    touch(400, kFrameHeight - 54);  // the Settings tab
    EXPECT_TRUE(poll_until(20s, [&] { return shows("page_settings_480x960", 0.03); }));
    EXPECT_EQ(black_rows(), 0) << "Settings floats in black";
    touch(402, 26);  // the About button
    EXPECT_TRUE(poll_until(20s, [&] { return shows("page_about_480x960", 0.03); }));
    EXPECT_EQ(black_rows(), 0) << "About floats in black";
    touch(240, kFrameHeight - 54);  // BACK
    ASSERT_TRUE(poll_until(20s, [&] { return shows("page_settings_480x960", 0.03); }));
    touch(240, kFrameHeight - 54);  // the Sounds tab
    ASSERT_TRUE(poll_until(20s, [&] { return shows("page_sounds_480x960", 0.03); }));
    touch(230, 356);  // the second sound row
    // The list stands where the user left it; its bars are the pick screen's.
    EXPECT_TRUE(poll_until(20s, [&] { return shows("page_pick_480x960", 1.0); }));
    EXPECT_EQ(black_rows(), 0) << "the pick screen floats in black";
    touch(130, kFrameHeight - 54);  // CANCEL
    ASSERT_TRUE(poll_until(20s, [&] { return shows("page_sounds_480x960", 0.03); }));

    touch(454, 26);  // the close button
    auto status = wait_exit(program_, 10s);
    ASSERT_TRUE(status.has_value()) << "the close button did not end the program";
    program_ = 0;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

// The shell turns the display when the phone is tilted, as a swing does: the pages
// stay upright on the panel, and a touch lands where the control is seen.
TEST_F(PhoneE2ETest, PagesStayUprightOnATurnedDisplayAndTouchesFollowThem) {
    for (int rotation : {90, 270}) {
        SCOPED_TRACE("rotate = " + std::to_string(rotation));
        ASSERT_TRUE(start_compositor(rotation)) << "phoc did not start";
        ASSERT_TRUE(pointer_->connect(socket())) << "no virtual pointer from the compositor";
        ASSERT_TRUE(start_program())
            << "no upright Home page; differences " << last_differences_[0] << ", "
            << last_differences_[1] << ", " << last_differences_[2];
        touch(400, kFrameHeight - 54);  // the Settings tab
        EXPECT_TRUE(poll_until(5s, [&] { return shows("page_settings_480x960", 0.03); }))
            << "the Settings page did not come; differences " << last_differences_[0] << ", "
            << last_differences_[1] << ", " << last_differences_[2];
        stop_all();
    }
}

// Under X11 the shell's turn of the display reaches the program as the output's RandR
// rotation, which SDL 2.26 does not report there. Read from the compositor's own X
// server (Xwayland), it turns the frame as the Wayland orientation does, and the
// display is taken at its natural, portrait size: a phone's, filled by a 480 x 960
// logical screen.
TEST_F(PhoneE2ETest, UnderX11TheOutputsRandrRotationTurnsTheFrameBack) {
    if (!find_program_in_path("Xwayland")) SKIP_OR_FAIL_IN_CI("Xwayland is not installed");
    for (auto [rotation, turns] : {std::pair{0, 0}, {90, 1}, {270, 3}}) {
        SCOPED_TRACE("X11, rotate = " + std::to_string(rotation));
        ASSERT_TRUE(start_compositor(rotation, true)) << "phoc with Xwayland did not start";
        {
            ScopedEnv display("DISPLAY", x_display_.c_str());
            ScopedEnv driver("SDL_VIDEODRIVER", "x11");
            ScopedEnv screen("TILTOPHON_SCREEN", nullptr);
            SdlWindowSystem windows(ScreenMode::kAuto);
            ASSERT_EQ(windows.display_problem(), "");
            EXPECT_EQ(windows.display_turns(0), turns);
            EXPECT_EQ(windows.screen().width, 480);
            EXPECT_EQ(windows.screen().height, kFrameHeight);
        }
        stop_all();
    }
}

}  // namespace
}  // namespace tiltophon
