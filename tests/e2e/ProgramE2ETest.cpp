// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real executable on SDL's dummy video driver, with private config and runtime
// folders. These tests wait in real time, in short bounded polls.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/BuiltProgram.h"
#include "e2e/ProgramProcess.h"
#include "motion/TempFolder.h"
#include "support/ReadFile.h"

namespace tiltophon {
namespace {

using namespace std::chrono_literals;

const std::string& kStored = kSettingsWithForeignKey;

class ProgramE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kProgram)) << kProgram;
        folder.write(kSettingsFile, kStored);
    }

    std::string settings_file() const { return folder.file(kSettingsFile); }

    ProgramProcess& start() {
        started_.push_back(
            std::make_unique<ProgramProcess>(kProgram, folder.file("config"), folder.file("run")));
        EXPECT_TRUE(started_.back()->start());
        return *started_.back();
    }

    TempFolder folder;
    std::vector<std::unique_ptr<ProgramProcess>> started_;
};

TEST_F(ProgramE2ETest, ASecondStartEndsAtOnceAndSigtermClosesAndSavesTheSettings) {
    ProgramProcess& first = start();
    ASSERT_TRUE(first.wait_until_running());

    std::optional<int> second = start().wait_exit(10s);
    ASSERT_TRUE(second.has_value()) << "the second start did not end";
    EXPECT_TRUE(WIFEXITED(*second));
    EXPECT_EQ(WEXITSTATUS(*second), 0);
    EXPECT_FALSE(first.wait_exit(0ms).has_value()) << "the first copy ended";
    EXPECT_EQ(read_file(settings_file()), kStored);

    // The start-up takes at least two seconds; a close before its end saves nothing.
    // Under a sanitizer on a busy machine it takes longer: its fourth step makes the
    // user's sound folder, and the steps after it take well under three seconds more.
    const std::string readme = first.data_home() + "/tiltophon/Sounds/README.txt";
    ASSERT_TRUE(ProgramProcess::poll_until(60s, [&] { return std::filesystem::exists(readme); }))
        << "the start-up did not reach the sound library";
    std::this_thread::sleep_for(3000ms);
    ASSERT_TRUE(first.signal(SIGTERM));
    std::optional<int> status = first.wait_exit(10s);
    ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the program";
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);

    std::string saved = read_file(settings_file());
    // What the settings file lacked came from the program folder's Defaults.reg, value
    // by value: slot 5 holds the first-run kit's sound, and slot 1's missing folder is
    // the kit's.
    for (const char* value :
         {"\"SoundSlot1Folder\"=\"Drums\"", "\"SoundSlot5Name\"=\"Snare.wav\"",
          "\"SensitivityX\"=dword:00000007",
          "\"SensitivityY\"=dword:00000005", "\"XButtonClose\"=dword:00000001",
          "\"VibrationsOn\"=dword:00000000", "\"PulseVibrationsOn\"=dword:00000001",
          "\"1\"=\"firefox\""}) {
        EXPECT_NE(saved.find(value), std::string::npos) << value << " missing from\n" << saved;
    }
    // The sound library holds no Kläng.wav, so slot 1 stayed empty, and its sound is
    // saved again for a start at which it is there.
    EXPECT_NE(saved.find("\"SoundSlot1Name\"=\"Kl\xc3\xa4ng.wav\""), std::string::npos) << saved;
    EXPECT_FALSE(std::filesystem::exists(first.socket_file()));
    // The user's own sound folder was made in the data home, with its README.
    EXPECT_TRUE(std::filesystem::is_regular_file(first.data_home() + "/tiltophon/Sounds/README.txt"));
}

TEST_F(ProgramE2ETest, SigtermDuringStartUpEndsCleanlyAndLeavesTheSettingsAsTheyWere) {
    ProgramProcess& program = start();
    ASSERT_TRUE(program.wait_until_running());
    ASSERT_TRUE(program.signal(SIGTERM));
    std::optional<int> status = program.wait_exit(10s);
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_EQ(read_file(settings_file()), kStored);
}

}  // namespace
}  // namespace tiltophon
