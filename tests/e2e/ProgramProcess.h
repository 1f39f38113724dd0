// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

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

extern char** environ;

namespace tiltophon {

// The real program (or a helper) as a child process with private folders: SDL's dummy
// video and audio drivers, its own config folder (where the settings file lives), a
// data folder beside it (where the user's own sounds live) and runtime folder (where
// the single-instance lock lives). The process is killed when
// this ends, if it still runs.
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
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Starts the process, its standard output going to `output` when that is not -1.
    bool start(int output = -1) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string entry(*e);
            bool replaced = false;
            for (const char* name : {"SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=", "XDG_CONFIG_HOME=",
                                     "XDG_DATA_HOME=", "XDG_RUNTIME_DIR=", "TILTOPHON_SCREEN="}) {
                replaced = replaced || entry.rfind(name, 0) == 0;
            }
            if (!replaced) env.push_back(entry);
        }
        env.push_back("SDL_VIDEODRIVER=dummy");
        env.push_back("SDL_AUDIODRIVER=dummy");
        env.push_back("XDG_CONFIG_HOME=" + config_home_);
        env.push_back("XDG_DATA_HOME=" + data_home());
        env.push_back("XDG_RUNTIME_DIR=" + runtime_dir_);
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::vector<char*> argv{program_.data()};
        for (std::string& argument : arguments_) argv.push_back(argument.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
        const int result =
            ::posix_spawn(&pid_, program_.c_str(), &actions, nullptr, argv.data(), envp.data());
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
    std::string program_;
    std::string config_home_;
    std::string runtime_dir_;
    std::vector<std::string> arguments_;
    pid_t pid_ = 0;
    bool ended_ = false;
};

}  // namespace tiltophon
