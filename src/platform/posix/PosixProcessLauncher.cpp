// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixProcessLauncher.h"

#include <spawn.h>
#include <sys/wait.h>

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
    pid_t pid = 0;
    // glibc reports a program that cannot be executed as an error here.
    if (::posix_spawnp(&pid, file.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace tiltophon
