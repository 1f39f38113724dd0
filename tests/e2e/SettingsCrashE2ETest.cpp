// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Kills saves of the settings at random moments, many times over, and checks after each
// that the settings file reads back whole: exactly the file from before the save or
// exactly the one the save meant to leave, never a mixture of both, never cut short.
// Most rounds kill a small helper that saves through the real settings file in a loop;
// some kill the real program while it saves on its way out. Real time, bounded.

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
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

const std::string kSaver = TILTOPHON_SETTINGS_SAVER;

// The settings file before the save.
const std::string& kBefore = kSettingsWithForeignKey;

// One round's private folders, with the settings file as it was before the save.
struct Round {
    Round() { folder.write(kSettingsFile, kBefore); }
    std::string config() const { return folder.file("config"); }
    std::string runtime() const { return folder.file("run"); }
    std::string settings() const { return read_file(folder.file(kSettingsFile)); }
    TempFolder folder;
};

class SettingsCrashE2ETest : public ::testing::Test {
protected:
    SettingsCrashE2ETest() : random_(seed_) {}

    // A delay chosen at random up to `limit`.
    std::chrono::microseconds any_delay(std::chrono::microseconds limit) {
        return std::chrono::microseconds(
            std::uniform_int_distribution<int64_t>(0, limit.count())(random_));
    }

    // What the file holds after a kill: 0 as before, 1 or 2 one of the whole saves,
    // -1 anything else (the test has then failed).
    static int outcome(const std::string& file, const std::vector<std::string>& saves) {
        if (file == kBefore) return 0;
        for (std::size_t i = 0; i < saves.size(); ++i) {
            if (file == saves[i]) return static_cast<int>(i) + 1;
        }
        return -1;
    }

    const unsigned seed_ = std::random_device{}();
    std::mt19937 random_;
};

// Waits for the helper's first line, which it writes just before it starts saving.
bool wait_for_line(int fd, std::chrono::milliseconds limit) {
    pollfd ready{fd, POLLIN, 0};
    char byte = 0;
    auto give_up = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < give_up) {
        if (::poll(&ready, 1, 100) > 0) {
            if (::read(fd, &byte, 1) != 1) return false;
            if (byte == '\n') return true;
        }
    }
    return false;
}

TEST_F(SettingsCrashE2ETest, KillingTheSaverAtRandomMomentsLeavesTheOldOrANewFileWhole) {
    ASSERT_TRUE(std::filesystem::exists(kSaver)) << kSaver;
    // The two files the loop can leave: each record saved over the file from before.
    std::vector<std::string> saves;
    for (const char* record : {"first", "second"}) {
        Round round;
        ProgramProcess saver(kSaver, round.config(), round.runtime(), {record});
        ASSERT_TRUE(saver.start());
        std::optional<int> status = saver.wait_exit(10s);
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << record;
        saves.push_back(round.settings());
        ASSERT_NE(saves.back(), kBefore);
    }
    ASSERT_NE(saves[0], saves[1]);

    constexpr int kRounds = 60;
    int outcomes[3] = {};
    for (int i = 0; i < kRounds; ++i) {
        Round round;
        int pipe_ends[2];
        ASSERT_EQ(::pipe(pipe_ends), 0);
        ProgramProcess saver(kSaver, round.config(), round.runtime(), {"loop"});
        ASSERT_TRUE(saver.start(pipe_ends[1]));
        ::close(pipe_ends[1]);
        const bool saving = wait_for_line(pipe_ends[0], 10s);
        ::close(pipe_ends[0]);
        ASSERT_TRUE(saving) << "the saver did not start";

        const std::chrono::microseconds delay = any_delay(20ms);
        std::this_thread::sleep_for(delay);
        ASSERT_TRUE(saver.signal(SIGKILL));
        ASSERT_TRUE(saver.wait_exit(10s));
        const std::string file = round.settings();
        const int result = outcome(file, saves);
        ASSERT_GE(result, 0) << "round " << i << " (seed " << seed_ << "), killed after "
                             << delay.count() << " us, left:\n"
                             << file;
        ++outcomes[result];
    }
    std::printf("saver killed %d times: %d before the first save, %d and %d after a whole save\n",
                kRounds, outcomes[0], outcomes[1], outcomes[2]);
    EXPECT_GT(outcomes[1] + outcomes[2], 0) << "no kill came after a save: nothing was tested";
}

TEST_F(SettingsCrashE2ETest, KillingTheProgramAsItSavesOnCloseLeavesTheOldOrTheNewFileWhole) {
    ASSERT_TRUE(std::filesystem::exists(kProgram)) << kProgram;
    // A close saves only once the start-up (at least two seconds) is over. The first
    // run finds how long that takes here, how long closing takes (the kills are spread
    // over twice that) and what the program saves.
    std::chrono::milliseconds loaded_after = 3000ms;
    std::chrono::microseconds closing{};
    std::string saved;
    for (;; loaded_after += 2000ms) {
        ASSERT_LE(loaded_after, 9000ms) << "the program never finished starting";
        Round round;
        ProgramProcess program(kProgram, round.config(), round.runtime());
        ASSERT_TRUE(program.start());
        ASSERT_TRUE(program.wait_until_running());
        std::this_thread::sleep_for(loaded_after);
        const auto asked = std::chrono::steady_clock::now();
        ASSERT_TRUE(program.signal(SIGTERM));
        std::optional<int> status = program.wait_exit(10s);
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
        closing = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - asked);
        saved = round.settings();
        if (saved != kBefore) break;
    }
    const std::chrono::microseconds kill_within =
        std::max<std::chrono::microseconds>(2 * closing, 5ms);

    // Rounds in small batches: the programs of a batch start together, and once they
    // have all started up each is told to close and killed soon after.
    constexpr int kBatches = 4;
    constexpr int kBatchSize = 4;
    int outcomes[2] = {};
    for (int batch = 0; batch < kBatches; ++batch) {
        std::vector<std::unique_ptr<Round>> rounds;
        std::vector<std::unique_ptr<ProgramProcess>> programs;
        for (int i = 0; i < kBatchSize; ++i) {
            rounds.push_back(std::make_unique<Round>());
            programs.push_back(std::make_unique<ProgramProcess>(kProgram, rounds[i]->config(),
                                                                rounds[i]->runtime()));
            ASSERT_TRUE(programs[i]->start());
        }
        for (auto& program : programs) ASSERT_TRUE(program->wait_until_running());
        // Starting together takes a little longer than starting alone.
        std::this_thread::sleep_for(loaded_after + 1000ms);
        for (int i = 0; i < kBatchSize; ++i) {
            ASSERT_TRUE(programs[i]->signal(SIGTERM));
            const std::chrono::microseconds delay = any_delay(kill_within);
            std::this_thread::sleep_for(delay);
            programs[i]->signal(SIGKILL);  // it may have ended already
            ASSERT_TRUE(programs[i]->wait_exit(10s));
            const std::string file = rounds[i]->settings();
            const int result = outcome(file, {saved});
            ASSERT_GE(result, 0) << "batch " << batch << " program " << i << " (seed " << seed_
                                 << "), killed " << delay.count() << " us after SIGTERM, left:\n"
                                 << file;
            ++outcomes[result];
        }
    }
    std::printf(
        "program killed %d times within %lld us of SIGTERM: %d before its save, %d after it\n",
        kBatches * kBatchSize, static_cast<long long>(kill_within.count()), outcomes[0],
        outcomes[1]);
    EXPECT_GT(outcomes[1], 0) << "no kill came after a save: nothing was tested";
}

}  // namespace
}  // namespace tiltophon
