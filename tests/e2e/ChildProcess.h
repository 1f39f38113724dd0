// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tiltophon {

// Helpers of the end-to-end tests that start tools and programs as processes; the
// program on the PATH is found by `find_program_in_path` (ProgramProcess.h).

// Polls every 50 ms until `done` or the limit passes.
inline bool poll_until(std::chrono::milliseconds limit, const std::function<bool()>& done) {
    auto give_up = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Starts `arguments` (the program found through PATH) with exactly the environment
// `env`, its standard output and error going to `output` and `errors` when not -1; the
// process id, or -1. The process leads a new process group.
inline pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& env,
                   int output = -1, int errors = -1) {
    std::vector<char*> argv;
    std::vector<std::string> args = arguments;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = env;
    std::vector<char*> envp;
    for (std::string& e : variables) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    if (errors >= 0) posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    // In a process group of its own, so that whatever it starts in turn (xvfb-run's
    // server and program, a session bus) can be ended with it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    int failed = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// The raw wait status once the process has ended within the limit.
inline std::optional<int> wait_exit(pid_t pid, std::chrono::milliseconds limit) {
    int status = 0;
    if (!poll_until(limit, [&] { return ::waitpid(pid, &status, WNOHANG) == pid; })) {
        return std::nullopt;
    }
    return status;
}

// Runs `arguments` to its end, within `limit` (killed after it), its output and errors
// going to `output` when not -1; true when it exits 0.
inline bool run_to_end(const std::vector<std::string>& arguments,
                       const std::vector<std::string>& env,
                       std::chrono::milliseconds limit = std::chrono::seconds(10),
                       int output = -1) {
    pid_t pid = spawn(arguments, env, output, output);
    if (pid <= 0) return false;
    std::optional<int> status = wait_exit(pid, limit);
    if (!status) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return false;
    }
    return WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

// This process's environment without the variables that start with any of `names`
// (each given with its '=').
inline std::vector<std::string> environment_without(const std::vector<std::string>& names) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry(*e);
        bool replaced = false;
        for (const std::string& name : names) replaced = replaced || entry.rfind(name, 0) == 0;
        if (!replaced) env.push_back(entry);
    }
    return env;
}

}  // namespace tiltophon
