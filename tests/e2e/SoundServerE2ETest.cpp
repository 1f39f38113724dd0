// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real executable on a virtual X display, playing through a real sound server
// (PipeWire, WirePlumber and pipewire-pulse, headless, with a null sink as the default
// output), which the test restarts under it, as a crash, an update or a phone's
// session change does. What the program plays is recorded from the sink's monitor,
// which is also the microphone a take records from. Waits are real, in short bounded
// polls.

#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/BuiltProgram.h"
#include "e2e/ProcessTools.h"
#include "e2e/ProgramProcess.h"
#include "e2e/SoundServer.h"
#include "motion/TempFolder.h"
#include "support/CiSkip.h"
#include "support/ReadFile.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace e2e;
using Clock = std::chrono::steady_clock;

const std::string kSwing = std::string(TILTOPHON_BINARY_DIR) + "/bin/tiltophon-swing";

const std::string kSlotOneIsTheTone =
    "REGEDIT4\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n"
    "\"SoundSlot1Folder\"=\"Test\"\n"
    "\"SoundSlot1Name\"=\"Tone.wav\"\n";

// How many times a line occurs in a text.
std::size_t lines_with(const std::string& text, const std::string& part) {
    std::stringstream lines(text);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line);) count += line.find(part) != line.npos;
    return count;
}

class SoundServerE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"dbus-run-session", "pipewire", "wireplumber", "pipewire-pulse",
                                 "pactl", "parec", "xvfb-run", "xdotool", "sox"}) {
            if (!find_program_in_path(tool)) SKIP_OR_FAIL_IN_CI(tool << " is not installed");
        }
        ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
        folder.write(kSettingsFile, kSlotOneIsTheTone);
        // Half a second of a loud 440 Hz tone: the only sound slot 1 can make.
        const std::string set = folder.file("data/tiltophon/Sounds/Test");
        fs::create_directories(set);
        ASSERT_TRUE(run_to_end({"sox", "-n", "-r", "44100", "-c", "1", "-b", "16",
                                set + "/Tone.wav", "synth", "0.5", "sine", "440", "vol", "0.5"},
                               environment_without({})));
    }
    void TearDown() override {
        // The program first: xvfb-run then takes its display down with it.
        if (program_running()) {
            ::kill(program_, SIGTERM);
            if (!poll_until(5s, [&] { return !program_running(); })) ::kill(program_, SIGKILL);
        }
        end_process(session_);
    }

    // The program on a display of its own, with the sound server's environment and
    // SDL's own choice of audio driver; true once its window is there.
    bool start_program() {
        std::vector<std::string> env = server.client_env(environment_without(
            {"DISPLAY=", "XAUTHORITY=", "SDL_VIDEODRIVER=", "SDL_RENDER_DRIVER=",
             "SDL_FRAMEBUFFER_ACCELERATION=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=",
             "TILTOPHON_SCREEN=", "TILTOPHON_SENSOR="}));
        env.push_back("TILTOPHON_SENSOR=fifo:" + fifo());
        env.push_back("SDL_RENDER_DRIVER=software");
        env.push_back("SDL_FRAMEBUFFER_ACCELERATION=0");
        env.push_back("XDG_CONFIG_HOME=" + folder.file("config"));
        env.push_back("XDG_DATA_HOME=" + folder.file("data"));
        const std::string info = folder.file("display");
        std::string script = "printf '%s\\n%s\\n%s\\n' \"$DISPLAY\" \"$XAUTHORITY\" \"$$\" > '" +
                             info + "'; exec '" + kProgram + "' 2> '" + errors_file() + "'";
        session_ = spawn({"xvfb-run", "-a", "-s", "-screen 0 480x640x24", "sh", "-c", script}, env);
        if (session_ <= 0 || !poll_until(20s, [&] {
                std::string text = read_file(info);
                return std::count(text.begin(), text.end(), '\n') == 3;
            })) {
            return false;
        }
        std::stringstream lines(read_file(info));
        std::string pid;
        std::getline(lines, display_);
        std::getline(lines, xauthority_);
        std::getline(lines, pid);
        program_ = static_cast<pid_t>(std::stol(pid));
        return poll_until(20s, [&] {
            return x_tool({"xdotool", "search", "--name", "^Tiltophon$"});
        });
    }

    // The program is not a child of the test, but of xvfb-run's shell: it runs while
    // its process is there and not a zombie.
    bool program_running() const {
        if (program_ <= 0) return false;
        const std::string stat = read_file("/proc/" + std::to_string(program_) + "/stat");
        const std::size_t state = stat.rfind(')');
        return state != std::string::npos && state + 2 < stat.size() && stat[state + 2] != 'Z';
    }

    // Presses the key of slot 1 every second until its tone is heard on the sink.
    // The time from the first press until then, or nothing when it is not heard
    // within the limit.
    std::optional<Clock::duration> hear_slot_one(std::chrono::seconds limit) {
        const auto start = Clock::now();
        while (Clock::now() - start < limit) {
            const std::size_t before = server.recorded().size();
            x_tool({"xdotool", "search", "--name", "^Tiltophon$", "windowfocus", "key", "1"});
            if (poll_until(1s, [&] { return loud_samples(before) > 4800; })) {
                return Clock::now() - start;
            }
        }
        return std::nullopt;
    }

    // Recorded samples after the first `from` that only the tone can have made.
    std::size_t loud_samples(std::size_t from) const {
        std::vector<int16_t> samples = server.recorded();
        if (samples.size() <= from) return 0;
        return std::count_if(samples.begin() + std::ptrdiff_t(from), samples.end(),
                             [](int16_t v) { return v > 8000 || v < -8000; });
    }

    bool x_tool(const std::vector<std::string>& arguments) {
        std::vector<std::string> env = environment_without({"DISPLAY=", "XAUTHORITY="});
        env.push_back("DISPLAY=" + display_);
        env.push_back("XAUTHORITY=" + xauthority_);
        return run_to_end(arguments, env);
    }

    std::string errors_file() const { return folder.file("errors.txt"); }
    std::string fifo() const { return folder.file("sensor"); }

    // A tap at a point of the window, and time for the page change it may start.
    void tap(int x, int y) {
        ASSERT_TRUE(x_tool({"xdotool", "search", "--name", "^Tiltophon$", "mousemove", "--window",
                            "%1", std::to_string(x), std::to_string(y), "mousedown", "1",
                            "sleep", "0.05", "mouseup", "1"}));
        std::this_thread::sleep_for(800ms);
    }

    TempFolder folder;
    SoundServer server{folder.path() / "server"};
    pid_t session_ = 0;  // xvfb-run
    pid_t program_ = 0;
    std::string display_;
    std::string xauthority_;
};

TEST_F(SoundServerE2ETest, SoundComesBackAfterTheServerRestartsInAnotherFormat) {
    ASSERT_TRUE(server.start(48000, 2)) << "the sound server did not start";
    ASSERT_TRUE(server.record(folder.path() / "before.raw"));
    ASSERT_TRUE(start_program()) << "the program's window did not appear";
    // The first presses may come while the splash screen is still up.
    ASSERT_TRUE(hear_slot_one(20s)) << "slot 1 was never heard on the sink";

    // The server goes and stays away for a while: the program keeps running, silent.
    server.stop_recording();
    server.stop();
    std::this_thread::sleep_for(3s);
    x_tool({"xdotool", "search", "--name", "^Tiltophon$", "windowfocus", "key", "1"});
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(program_running()) << read_file(errors_file());

    // It comes back with another rate and channel count.
    ASSERT_TRUE(server.start(44100, 1)) << "the sound server did not start again";
    ASSERT_TRUE(server.record(folder.path() / "after.raw"));
    std::optional<Clock::duration> back = hear_slot_one(10s);
    ASSERT_TRUE(back) << "slot 1 was not heard after the restart; stderr:\n"
                      << read_file(errors_file());
    RecordProperty("heard_again_ms",
                   int(std::chrono::duration_cast<std::chrono::milliseconds>(*back).count()));

    // Said once each way, however many times the program looked for the device.
    const std::string errors = read_file(errors_file());
    EXPECT_EQ(lines_with(errors, "sound output went away"), 1u) << errors;
    EXPECT_EQ(lines_with(errors, "sound output is back"), 1u) << errors;
    EXPECT_TRUE(program_running());
}

// The sound of the sink's monitor becomes a take: a tone played into the sink while
// Record is on comes back as "Recording 1.flac", cut to the tone and brought to
// -1 dBFS; OK puts it in slot 1, and a swing plays it.
TEST_F(SoundServerE2ETest, ATakeFromTheMicrophoneIsSavedAndASwingPlaysIt) {
    if (!find_program_in_path("paplay")) SKIP_OR_FAIL_IN_CI("paplay is not installed");
    ASSERT_TRUE(fs::exists(kSwing)) << kSwing;
    ASSERT_TRUE(server.start(48000, 2)) << "the sound server did not start";
    ASSERT_TRUE(server.pactl({"set-default-source", std::string(SoundServer::kSink) + ".monitor"}));
    const std::string voice = folder.file("voice.wav");
    ASSERT_TRUE(run_to_end({"sox", "-n", "-r", "48000", "-c", "2", "-b", "16", voice, "synth",
                            "0.8", "sine", "660", "vol", "0.3"},
                           environment_without({})));
    ASSERT_TRUE(server.record(folder.path() / "sink.raw"));
    ASSERT_TRUE(start_program()) << "the program's window did not appear";
    ASSERT_TRUE(hear_slot_one(20s)) << "the program never played";

    tap(240, 586);  // the Sounds tab
    tap(240, 100);  // slot 1's row: the pick screen
    tap(240, 586);  // Record
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(run_to_end({"paplay", "--device=" + std::string(SoundServer::kSink), voice},
                           server.client_env(environment_without({})), 10s));
    std::this_thread::sleep_for(500ms);
    tap(240, 586);  // stop

    const fs::path take = folder.path() / "data/tiltophon/Sounds/My Sounds/Recording 1.flac";
    ASSERT_TRUE(poll_until(10s, [&] { return fs::exists(take); })) << read_file(errors_file());
    SF_INFO info{};
    SNDFILE* file = sf_open(take.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(static_cast<std::size_t>(info.frames));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    EXPECT_EQ(info.channels, 1);
    EXPECT_NEAR(static_cast<double>(info.frames) / info.samplerate, 0.8, 0.05);
    // The tone at -1 dBFS, and still 660 Hz: as many zero crossings as 2 x 660 a second.
    float peak = 0;
    int crossings = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        peak = std::max(peak, std::abs(samples[i]));
        crossings += i > 0 && (samples[i - 1] < 0) != (samples[i] < 0);
    }
    EXPECT_NEAR(peak, 0.891, 0.01);
    EXPECT_NEAR(crossings * 0.5 * info.samplerate / double(samples.size()), 660, 10);

    tap(392, 586);  // OK
    tap(80, 590);   // the Home tab
    tap(400, 452);  // motion on
    // The detectors may take a first swing for the start of the motion, as a hand does.
    // Slot 1's own tone is too short to be taken for the take.
    bool played = false;
    std::size_t before = 0;
    for (int attempt = 0; attempt < 3 && !played; ++attempt) {
        before = server.recorded().size();
        ASSERT_TRUE(run_to_end({kSwing, "--fifo", fifo(), "--wait", "forward"},
                               environment_without({}), 20s));
        played = poll_until(5s, [&] { return loud_samples(before) > 24000; });
    }
    ASSERT_TRUE(played) << "the swing did not play the take (" << loud_samples(before)
                        << " loud samples); stderr:\n" << read_file(errors_file());
}

}  // namespace
}  // namespace tiltophon
