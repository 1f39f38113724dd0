// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Kills saves of the settings at random moments, many times over, and checks after each
// that the settings file reads back whole: exactly the file from before the save or
// exactly the one the save meant to leave, never a mixture of both, never cut short.
// A thousand rounds kill a small helper that saves through the real settings file in a
// loop; fifty kill the real program while it saves on its way out. Real time, bounded.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
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

// The saver in its serving mode, through a pipe each way: each round it starts a
// process that saves into the round's settings file until the test kills it.
class SaverServer {
public:
    SaverServer(const std::string& config, const std::string& runtime)
        : saver_(kSaver, config, runtime, {"serve"}) {}
    ~SaverServer() {
        if (to_saver_ >= 0) ::close(to_saver_);
        if (from_saver_ >= 0) ::close(from_saver_);
    }

    bool start() {
        int requests[2];
        int replies[2];
        if (::pipe2(requests, O_CLOEXEC) != 0) return false;
        if (::pipe2(replies, O_CLOEXEC) != 0) return false;
        const bool started = saver_.start(replies[1], -1, requests[0]);
        ::close(requests[0]);
        ::close(replies[1]);
        to_saver_ = requests[1];
        from_saver_ = replies[0];
        return started;
    }

    // Starts saving into `settings_file`; the saving process once it saves.
    std::optional<pid_t> begin(const std::string& settings_file) {
        const std::string request = settings_file + "\n";
        if (::write(to_saver_, request.data(), request.size()) !=
            static_cast<ssize_t>(request.size())) {
            return std::nullopt;
        }
        const std::optional<std::string> pid = line();
        if (!pid) return std::nullopt;
        return static_cast<pid_t>(std::stol(*pid));
    }

    // After the kill: how many saves the process completed.
    std::optional<unsigned> ended() {
        const std::optional<std::string> reply = line();
        if (!reply || reply->rfind("ended ", 0) != 0) return std::nullopt;
        return static_cast<unsigned>(std::stoul(reply->substr(6)));
    }

private:
    std::optional<std::string> line() {
        std::string text;
        pollfd ready{from_saver_, POLLIN, 0};
        char byte = 0;
        while (::poll(&ready, 1, 10000) > 0 && ::read(from_saver_, &byte, 1) == 1) {
            if (byte == '\n') return text;
            text += byte;
        }
        return std::nullopt;
    }

    ProgramProcess saver_;
    int to_saver_ = -1;
    int from_saver_ = -1;
};

// The processor time of the child processes that have ended so far.
std::chrono::microseconds children_cpu_time() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec;
    const auto micros = usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    return std::chrono::seconds(seconds) + std::chrono::microseconds(micros);
}

// Whether a save was cut off between writing its temporary file and renaming it.
bool temporary_file_left(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".registry.reg.", 0) == 0) return true;
    }
    return false;
}

TEST_F(SettingsCrashE2ETest, KillingTheSaverAtRandomMomentsLeavesTheOldOrANewFileWhole) {
    ASSERT_TRUE(std::filesystem::exists(kSaver)) << kSaver;
    // The two files a save can leave: each record saved over the file from before.
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

    // Several savers at once: a save spends most of its time waiting for the disk, and
    // the rounds of one saver follow each other.
    constexpr int kSavers = 8;
    Round home;
    std::vector<std::unique_ptr<SaverServer>> savers;
    for (int i = 0; i < kSavers; ++i) {
        savers.push_back(std::make_unique<SaverServer>(home.config(), home.runtime()));
        ASSERT_TRUE(savers.back()->start());
    }

    // One kill in a batch: a saver's round, killed `delay` after it began.
    struct Kill {
        SaverServer* saver = nullptr;
        std::unique_ptr<Round> round;
        pid_t pid = 0;
        std::chrono::microseconds delay{};
        std::chrono::steady_clock::time_point at{};
    };
    // Starts a round on every saver, with a delay for each from `delay_of`, and kills
    // each when its delay has passed.
    const auto run_batch = [&](const std::function<std::chrono::microseconds()>& delay_of) {
        std::vector<Kill> kills(kSavers);
        for (int i = 0; i < kSavers; ++i) {
            Kill& kill = kills[i];
            kill.saver = savers[i].get();
            kill.round = std::make_unique<Round>();
            const std::optional<pid_t> pid =
                kill.saver->begin(kill.round->folder.file(kSettingsFile));
            if (!pid) return std::vector<Kill>{};
            kill.pid = *pid;
            kill.delay = delay_of();
            kill.at = std::chrono::steady_clock::now() + kill.delay;
        }
        std::vector<Kill*> in_order;
        for (Kill& kill : kills) in_order.push_back(&kill);
        std::sort(in_order.begin(), in_order.end(),
                  [](const Kill* a, const Kill* b) { return a->at < b->at; });
        for (Kill* kill : in_order) {
            std::this_thread::sleep_until(kill->at);
            ::kill(kill->pid, SIGKILL);
        }
        return kills;
    };

    // How long one save takes here, with as many savers: the kills are spread over the
    // first three saves, so that they fall in every part of a save, the first above all.
    std::chrono::microseconds save_time{};
    {
        std::vector<Kill> kills = run_batch([] { return 50ms; });
        ASSERT_EQ(kills.size(), std::size_t(kSavers)) << "a saver did not start saving";
        unsigned saved = 0;
        for (Kill& kill : kills) {
            const std::optional<unsigned> count = kill.saver->ended();
            ASSERT_TRUE(count) << "a saver did not see its process end";
            saved += *count;
        }
        ASSERT_GT(saved, 0u) << "the savers saved nothing in 50 ms";
        save_time = std::max<std::chrono::microseconds>(
            std::chrono::microseconds(50ms) * kSavers / saved, 1us);
    }

    constexpr int kRounds = 1000;
    static_assert(kRounds % kSavers == 0);
    int outcomes[3] = {};
    int cut_in_writing = 0;
    for (int batch = 0; batch < kRounds / kSavers; ++batch) {
        std::vector<Kill> kills = run_batch([&] { return any_delay(3 * save_time); });
        ASSERT_EQ(kills.size(), std::size_t(kSavers)) << "a saver did not start saving";
        for (Kill& kill : kills) {
            ASSERT_TRUE(kill.saver->ended()) << "a saver did not see its process end";
            cut_in_writing += temporary_file_left(
                std::filesystem::path(kill.round->folder.file(kSettingsFile)).parent_path());
            const std::string left = kill.round->settings();
            const int result = outcome(left, saves);
            ASSERT_GE(result, 0) << "batch " << batch << " (seed " << seed_ << "), killed after "
                                 << kill.delay.count() << " us, left:\n"
                                 << left;
            ++outcomes[result];
        }
    }
    std::printf(
        "saver killed %d times over 3 saves of %lld us: %d before the first save was "
        "whole, %d and %d after a whole save, %d while a temporary file was written\n",
        kRounds, static_cast<long long>(save_time.count()), outcomes[0], outcomes[1], outcomes[2],
        cut_in_writing);
    EXPECT_GT(outcomes[0], 0) << "no kill came before the first save was whole";
    EXPECT_GT(outcomes[1] + outcomes[2], 0) << "no kill came after a save";
    EXPECT_GT(cut_in_writing, 0) << "no kill came while a save wrote its file";
}

TEST_F(SettingsCrashE2ETest, KillingTheProgramAsItSavesOnCloseLeavesTheOldOrTheNewFileWhole) {
    ASSERT_TRUE(std::filesystem::exists(kProgram)) << kProgram;
    // A close saves only once the start-up (at least two seconds) is over. The first
    // run finds how long that takes here, how long closing takes (the kills are spread
    // over twice that) and what the program saves.
    std::chrono::milliseconds loaded_after = 3000ms;
    std::chrono::microseconds closing{};
    std::chrono::microseconds busy{};
    std::string saved;
    for (;; loaded_after += 2000ms) {
        ASSERT_LE(loaded_after, 9000ms) << "the program never finished starting";
        const std::chrono::microseconds busy_before = children_cpu_time();
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
        busy = children_cpu_time() - busy_before;
        saved = round.settings();
        if (saved != kBefore) break;
    }
    const std::chrono::microseconds kill_within =
        std::max<std::chrono::microseconds>(2 * closing, 5ms);

    // The programs start one after another, a run's processor time apart so that their
    // start-ups share the processors without crowding them, and each is told to close
    // and killed soon after once it has had the time to start up: many run at once,
    // each spends most of its life waiting for its splash screen's minimum.
    constexpr int kPrograms = 50;
    const auto gap = std::max<std::chrono::microseconds>(busy, 200ms);
    // Starting among others takes a little longer than starting alone.
    const auto settle = loaded_after + 1000ms;
    std::vector<std::unique_ptr<Round>> rounds;
    std::vector<std::unique_ptr<ProgramProcess>> programs;
    int outcomes[2] = {};
    int closed = 0;
    const auto begin = std::chrono::steady_clock::now();
    while (static_cast<int>(programs.size()) < kPrograms || closed < kPrograms) {
        const auto start_at = begin + static_cast<int64_t>(programs.size()) * gap;
        const auto close_at = begin + closed * gap + settle;
        if (static_cast<int>(programs.size()) < kPrograms && start_at <= close_at) {
            std::this_thread::sleep_until(start_at);
            rounds.push_back(std::make_unique<Round>());
            programs.push_back(std::make_unique<ProgramProcess>(kProgram, rounds.back()->config(),
                                                                rounds.back()->runtime()));
            ASSERT_TRUE(programs.back()->start());
            continue;
        }
        std::this_thread::sleep_until(close_at);
        ProgramProcess& program = *programs[closed];
        ASSERT_TRUE(program.signal(SIGTERM));
        const std::chrono::microseconds delay = any_delay(kill_within);
        std::this_thread::sleep_for(delay);
        program.signal(SIGKILL);  // it may have ended already
        ASSERT_TRUE(program.wait_exit(10s));
        const std::string file = rounds[closed]->settings();
        const int result = outcome(file, {saved});
        ASSERT_GE(result, 0) << "program " << closed << " (seed " << seed_ << "), killed "
                             << delay.count() << " us after SIGTERM, left:\n"
                             << file;
        ++outcomes[result];
        ++closed;
    }
    std::printf(
        "program killed %d times within %lld us of SIGTERM, started %lld ms apart: %d "
        "before its save, %d after it\n",
        kPrograms, static_cast<long long>(kill_within.count()),
        static_cast<long long>(gap.count() / 1000), outcomes[0], outcomes[1]);
    EXPECT_GT(outcomes[1], 0) << "no kill came after a save: nothing was tested";
}

}  // namespace
}  // namespace tiltophon
