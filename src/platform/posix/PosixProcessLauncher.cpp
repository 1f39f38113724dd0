// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixProcessLauncher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

#include "platform/Text.h"

extern char** environ;

namespace tiltophon {

bool PosixProcessLauncher::spawn(std::u16string_view program, std::u16string_view argument) {
    std::string file = utf8_from_utf16(program);
    std::string arg = utf8_from_utf16(argument);
    if (file.empty() || file.find('\0') != std::string::npos ||
        arg.find('\0') != std::string::npos) {
        return false;
    }
    char* argv[3] = {file.data(), arg.empty() ? nullptr : arg.data(), nullptr};
    // The child starts with no signal blocked, whatever this program blocks for itself.
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    // glibc reports a program that cannot be executed as an error here.
    const int failed = ::posix_spawnp(&pid, file.c_str(), nullptr, &attributes, argv, environ);
    ::posix_spawnattr_destroy(&attributes);
    if (failed != 0) return false;
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

bool PosixProcessLauncher::is_program_file(std::u16string_view path) {
    std::string file = utf8_from_utf16(path);
    if (file.empty() || file.find('\0') != std::string::npos) return false;
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(file.c_str(), X_OK) == 0;
}

}  // namespace tiltophon
