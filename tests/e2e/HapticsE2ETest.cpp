// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The vibration pulse of a swing against the real haptics service of Linux phones,
// Debian's feedbackd, on a session bus of its own (dbus-run-session). The service
// logs every event it is given, with the application that gave it, when GLib's debug
// messages are on. And against a stand-in service that refuses every vibration.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <future>
#include <memory>
#include <string>

#include "app/AppState.h"
#include "e2e/ChildProcess.h"
#include "e2e/ProcessTools.h"
#include "e2e/ProgramProcess.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionMessage.h"
#include "motion/TempFolder.h"
#include "platform/sdl/HapticsVibrator.h"
#include "program/HeadlessPlatform.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "support/CiSkip.h"
#include "support/ReadFile.h"
#include "vavurud/CheckButton.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace e2e;

constexpr char kFeedbackd[] = "/usr/libexec/feedbackd";

class HapticsE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!find_program_in_path("dbus-run-session")) SKIP_OR_FAIL_IN_CI("dbus is not installed");
        // Made-up device trees, empty: the service is the only way to vibrate.
        options_.roots = {folder.file("none"), folder.file("none"), folder.file("none"),
                          folder.file("none")};
        options_.sysfs_class = folder.file("none");

        bank_.AddEntry(u"Set", u"Kick.wav", u"/s/Set/Kick.wav", nullptr, nullptr);
        app().sound_bank = &bank_;
        app().sound_slots = &slots_;
        slots_.entries[0] = bank_.EntryAt(0);
        window_ = platform_.windows.create_window(
            u"TiltophonClass", u"Tiltophon",
            [](Window*, uint32_t, WParam, LParam) -> LResult { return 0; });
        pulse_toggle_ = std::make_unique<CheckButton>(window_, 256);
        pulse_toggle_->set_pressed(true);
        app().pulse_toggle = pulse_toggle_.get();
    }
    void TearDown() override {
        if (service_ > 0) {
            ::kill(service_, SIGCONT);
            ::kill(service_, SIGTERM);
        }
        end_process(session_);
    }

    // The haptics service `command` on a bus of its own; the shell says where, and
    // which process the service is, before it becomes the service.
    void start_service(const std::string& command) {
        std::vector<std::string> env =
            environment_without({"DBUS_SESSION_BUS_ADDRESS=", "G_MESSAGES_DEBUG="});
        env.push_back("G_MESSAGES_DEBUG=all");
        session_ = spawn({"dbus-run-session", "--", "sh", "-c",
                          "echo \"$DBUS_SESSION_BUS_ADDRESS\" > '" + folder.file("address") +
                              "'; echo $$ > '" + folder.file("pid") + "'; exec " + command +
                              " > '" + folder.file("log") + "' 2>&1"},
                         env);
        ASSERT_GT(session_, 0);
        ASSERT_TRUE(poll_until(10s, [&] { return !read_file(folder.file("pid")).empty(); }));
        service_ = std::stoi(read_file(folder.file("pid")));
        ASSERT_TRUE(poll_until(10s, [&] { return !read_file(folder.file("address")).empty(); }));
        std::string address = read_file(folder.file("address"));
        options_.bus_address = address.substr(0, address.find('\n'));
    }

    // A forward swing, as the detectors post it, with the pulse switch on.
    void swing() { on_motion_message(window_, kMotionMessage, 1, 0); }
    std::string log() const { return read_file(folder.file("log")); }

    TempFolder folder;
    HapticsOptions options_;
    pid_t session_ = 0;
    pid_t service_ = 0;
    HeadlessPlatform platform_;
    SoundBank bank_;
    SoundSlots slots_;
    Window* window_ = nullptr;
    std::unique_ptr<CheckButton> pulse_toggle_;
};

TEST_F(HapticsE2ETest, ASwingWithThePulseOnReachesFeedbackdUnderTheProgramsName) {
    if (!fs::exists(kFeedbackd)) SKIP_OR_FAIL_IN_CI("feedbackd is not installed");
    ASSERT_NO_FATAL_FAILURE(start_service(kFeedbackd));
    HapticsVibrator vibrator(options_);
    platform_.services().vibrator = &vibrator;
    install_platform(platform_.services());
    ASSERT_TRUE(poll_until(10s, [&] { return vibrator.feedbackd_present(); }))
        << "feedbackd never appeared on the bus; its log:\n"
        << log();

    swing();
    ASSERT_EQ(platform_.devices.sounds().size(), 1u) << "the swing's sound is not held up";
    EXPECT_TRUE(poll_until(10s, [&] {
        return log().find("Event 'button-pressed' for 'org.tiltophon.Tiltophon'") !=
               std::string::npos;
    })) << log();
    EXPECT_TRUE(poll_until(5s, [&] { return vibrator.feedbackd_answers() == 1; }));

    // A service that hangs: the swing still returns at once, and the call gives up.
    ::kill(service_, SIGSTOP);
    swing();
    EXPECT_EQ(platform_.devices.sounds().size(), 2u);
    EXPECT_TRUE(poll_until(5s, [&] { return vibrator.feedbackd_calls() == 2; }));
    EXPECT_TRUE(poll_until(10s, [&] { return vibrator.feedbackd_answers() == 2; }))
        << "the call to a stopped service never ended";

    // A service that vanishes: the pulses go elsewhere (here: nowhere), and nothing breaks.
    ::kill(service_, SIGCONT);
    ::kill(service_, SIGKILL);
    service_ = 0;
    ASSERT_TRUE(poll_until(10s, [&] { return !vibrator.feedbackd_present(); }));
    swing();
    EXPECT_EQ(platform_.devices.sounds().size(), 3u);
    // The pulse has gone through the haptics thread without a call.
    std::promise<void> passed;
    vibrator.post([&] { passed.set_value(); });
    passed.get_future().wait();
    EXPECT_EQ(vibrator.feedbackd_calls(), 2);
}

// A service that refuses vibrations: the refusal is said once on stderr, and each
// swing still plays its sound. (That a swing never waits for the service is checked
// above, with a service that hangs.)
TEST_F(HapticsE2ETest, AServiceThatRefusesIsSaidOnceAndCostsTheSwingNothing) {
    // Debian's Python, which has its D-Bus and GLib modules, whatever else is on PATH.
    if (::system("/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null") != 0) {
        SKIP_OR_FAIL_IN_CI("python3-dbus or python3-gi is not installed");
    }
    ASSERT_NO_FATAL_FAILURE(start_service("/usr/bin/python3 '" + std::string(TILTOPHON_SOURCE_DIR) +
                                          "/tests/e2e/FeedbackErrorStub.py' '" +
                                          folder.file("calls") + "'"));
    HapticsVibrator vibrator(options_);
    platform_.services().vibrator = &vibrator;
    install_platform(platform_.services());
    ASSERT_TRUE(poll_until(10s, [&] { return vibrator.feedbackd_present(); })) << log();

    testing::internal::CaptureStderr();
    for (std::size_t n = 1; n <= 3; ++n) {
        swing();
        EXPECT_EQ(platform_.devices.sounds().size(), n);
        EXPECT_TRUE(poll_until(10s, [&] { return vibrator.feedbackd_answers() == int(n); }));
    }
    std::string said = testing::internal::GetCapturedStderr();

    const std::string line = "the haptics service (feedbackd) refused a vibration";
    size_t first = said.find(line);
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(line, first + 1), std::string::npos) << "said more than once:\n" << said;
    EXPECT_NE(read_file(folder.file("calls")).find("TriggerFeedback org.tiltophon.Tiltophon"),
              std::string::npos);
}

}  // namespace
}  // namespace tiltophon
