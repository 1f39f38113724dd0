// The real executable on SDL's dummy video driver, with private config and runtime
// folders. These tests wait in real time, in short bounded polls.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "motion/TempFolder.h"
#include "support/ReadFile.h"

extern char** environ;

namespace tiltophon {
namespace {

using namespace std::chrono_literals;

const std::string kProgram = std::string(TILTOPHON_PROGRAM_DIR) + "/tiltophon";

const std::string kStored =
    "REGEDIT4\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shell\\Rai\\:DEFBROWSER]\n"
    "\"1\"=\"firefox\"\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n"
    "\"SensitivityX\"=dword:00000007\n"
    "\"SoundSlot1Name\"=\"Kl\xc3\xa4ng.wav\"\n";

bool poll_until(std::chrono::milliseconds limit, const std::function<bool()>& done) {
    auto give_up = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class ProgramE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kProgram)) << kProgram;
        std::filesystem::create_directories(runtime());
        std::filesystem::permissions(runtime(), std::filesystem::perms::owner_all);
        folder.write("config/tiltophon/registry.reg", kStored);
    }
    void TearDown() override {
        for (pid_t pid : started_) {
            if (::waitpid(pid, nullptr, WNOHANG) == 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    }

    std::string runtime() const { return folder.file("run"); }
    std::string settings_file() const { return folder.file("config/tiltophon/registry.reg"); }
    std::string socket_file() const { return runtime() + "/tiltophon.sock"; }

    pid_t start() {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string entry(*e);
            for (const char* replaced : {"SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=", "XDG_CONFIG_HOME=",
                                         "XDG_RUNTIME_DIR=", "TILTOPHON_SCREEN="}) {
                if (entry.rfind(replaced, 0) == 0) entry.clear();
            }
            if (!entry.empty()) env.push_back(entry);
        }
        env.push_back("SDL_VIDEODRIVER=dummy");
        env.push_back("SDL_AUDIODRIVER=dummy");
        env.push_back("XDG_CONFIG_HOME=" + folder.file("config"));
        env.push_back("XDG_RUNTIME_DIR=" + runtime());
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::string program = kProgram;
        char* argv[] = {program.data(), nullptr};
        pid_t pid = 0;
        EXPECT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
        started_.push_back(pid);
        return pid;
    }

    // The exit status once the process has ended within the limit.
    std::optional<int> wait_exit(pid_t pid, std::chrono::milliseconds limit) {
        int status = 0;
        bool ended = poll_until(limit, [&] { return ::waitpid(pid, &status, WNOHANG) == pid; });
        if (!ended) return std::nullopt;
        return status;
    }

    // The running program has set up its window system once its socket exists.
    bool wait_until_running() {
        return poll_until(10s, [&] { return std::filesystem::exists(socket_file()); });
    }

    TempFolder folder;
    std::vector<pid_t> started_;
};

TEST_F(ProgramE2ETest, ASecondStartEndsAtOnceAndSigtermClosesAndSavesTheSettings) {
    pid_t first = start();
    ASSERT_TRUE(wait_until_running());
    auto running_since = std::chrono::steady_clock::now();

    std::optional<int> second = wait_exit(start(), 10s);
    ASSERT_TRUE(second.has_value()) << "the second start did not end";
    EXPECT_TRUE(WIFEXITED(*second));
    EXPECT_EQ(WEXITSTATUS(*second), 0);
    EXPECT_EQ(::waitpid(first, nullptr, WNOHANG), 0) << "the first copy ended";
    EXPECT_EQ(read_file(settings_file()), kStored);

    // The start-up takes at least two seconds; a close before its end saves nothing.
    std::this_thread::sleep_until(running_since + 3000ms);
    ASSERT_EQ(::kill(first, SIGTERM), 0);
    std::optional<int> status = wait_exit(first, 10s);
    ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the program";
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);

    std::string saved = read_file(settings_file());
    for (const char* value :
         {"\"SoundSlot1Folder\"=\"\"", "\"SoundSlot5Name\"=\"\"", "\"SensitivityX\"=dword:00000007",
          "\"SensitivityY\"=dword:00000005", "\"XButtonClose\"=dword:00000001",
          "\"VibrationsOn\"=dword:00000000", "\"PulseVibrationsOn\"=dword:00000001",
          "\"1\"=\"firefox\""}) {
        EXPECT_NE(saved.find(value), std::string::npos) << value << " missing from\n" << saved;
    }
    // The sound library holds no Kläng.wav, so slot 1 stayed empty and its row is
    // saved as it shows: empty.
    EXPECT_NE(saved.find("\"SoundSlot1Name\"=\"\""), std::string::npos) << saved;
    EXPECT_FALSE(std::filesystem::exists(socket_file()));
}

TEST_F(ProgramE2ETest, SigtermDuringStartUpEndsCleanlyAndLeavesTheSettingsAsTheyWere) {
    pid_t pid = start();
    ASSERT_TRUE(wait_until_running());
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    std::optional<int> status = wait_exit(pid, 10s);
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_EQ(read_file(settings_file()), kStored);
}

}  // namespace
}  // namespace tiltophon
