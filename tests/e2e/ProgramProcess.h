// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tiltophon {

// The full path of a program on the PATH.
inline std::optional<std::string> find_program_in_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

// The real program (or a helper) as a child process with private folders: SDL's dummy
// video and audio drivers, its own config folder (where the settings file lives), a
// data folder beside it (where the user's own sounds live) and runtime folder (where
// the single-instance lock lives), and the screen of the display. The process and
// whatever it started (xvfb-run's server and program) are killed when this ends.
class ProgramProcess {
public:
    ProgramProcess(std::string program, std::string config_home, std::string runtime_dir,
                   std::vector<std::string> arguments = {})
        : program_(std::move(program)),
          config_home_(std::move(config_home)),
          runtime_dir_(std::move(runtime_dir)),
          arguments_(std::move(arguments)) {
        std::filesystem::create_directories(runtime_dir_);
        std::filesystem::permissions(runtime_dir_, std::filesystem::perms::owner_all);
    }
    ~ProgramProcess() {
        if (pid_ <= 0) return;
        // A program left running would hold the test's output open, and CTest would
        // wait for it until the timeout.
        ::kill(-pid_, SIGKILL);
        if (!ended_) ::waitpid(pid_, nullptr, 0);
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Changes to the environment above, made last: "NAME=value" sets a variable and
    // "NAME" removes it.
    void change_environment(std::vector<std::string> changes) { changes_ = std::move(changes); }

    // Starts the process (found on the PATH when `program` has no slash), its standard
    // output going to `output`, its standard error to `errors` and its standard input
    // coming from `input` when not -1.
    bool start(int output = -1, int errors = -1, int input = -1) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) env.push_back(*e);
        set_variable(env, "SDL_VIDEODRIVER=dummy");
        set_variable(env, "SDL_AUDIODRIVER=dummy");
        set_variable(env, "XDG_CONFIG_HOME=" + config_home_);
        set_variable(env, "XDG_DATA_HOME=" + data_home());
        set_variable(env, "XDG_RUNTIME_DIR=" + runtime_dir_);
        set_variable(env, "TILTOPHON_SCREEN");
        for (const std::string& change : changes_) set_variable(env, change);
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::vector<char*> argv{program_.data()};
        for (std::string& argument : arguments_) argv.push_back(argument.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
        if (errors >= 0) posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
        if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        const int result = ::posix_spawnp(&pid_, program_.c_str(), &actions, &attributes,
                                          argv.data(), envp.data());
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        return result == 0;
    }

    pid_t pid() const { return pid_; }
    // "data" beside the config folder.
    std::string data_home() const {
        return (std::filesystem::path(config_home_).parent_path() / "data").string();
    }
    std::string socket_file() const { return runtime_dir_ + "/tiltophon.sock"; }
    bool signal(int number) const { return ::kill(pid_, number) == 0; }

    // The raw wait status once the process has ended within the limit.
    std::optional<int> wait_exit(std::chrono::milliseconds limit) {
        int status = 0;
        bool ended = poll_until(limit, [&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; });
        if (!ended) return std::nullopt;
        ended_ = true;
        return status;
    }

    // The running program has set up its window system once its socket exists.
    bool wait_until_running(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        return poll_until(limit, [&] { return std::filesystem::exists(socket_file()); });
    }

    // Polls every few milliseconds until `done` or the limit passes.
    static bool poll_until(std::chrono::milliseconds limit, const std::function<bool()>& done) {
        auto give_up = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > give_up) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    // Applies one change of the kind change_environment takes.
    static void set_variable(std::vector<std::string>& env, const std::string& change) {
        const std::string name = change.substr(0, change.find('=')) + "=";
        std::erase_if(env, [&](const std::string& entry) { return entry.starts_with(name); });
        if (change.find('=') != std::string::npos) env.push_back(change);
    }

    std::string program_;
    std::string config_home_;
    std::string runtime_dir_;
    std::vector<std::string> arguments_;
    std::vector<std::string> changes_;
    pid_t pid_ = 0;
    bool ended_ = false;
};

}  // namespace tiltophon
