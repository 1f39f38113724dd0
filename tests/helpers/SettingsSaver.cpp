// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Saves the settings through the real settings file ($XDG_CONFIG_HOME/tiltophon/
// registry.reg), as the program does when it closes, so that the crash test can kill a
// save at any moment, a thousand times in a few seconds.
//
//   tiltophon_settings_saver first|second   saves that record once
//   tiltophon_settings_saver serve          for each settings file path read from
//                                           standard input, one line each: starts a
//                                           process that prints its process id and
//                                           saves the two records in turn into that
//                                           file until it is killed, then prints
//                                           "ended N", N the saves it completed
//
// Serving forks each saving process from one started saver, which costs a fraction of
// a millisecond where starting a saver anew costs several.

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/FileRegistry.h"
#include "settings/Settings.h"

using namespace tiltophon;

namespace {

// Two records that differ in every value and in length, so that a file holding parts
// of both, or a cut one, can be told from either.
Settings record(bool second) {
    Settings settings;
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        if (second) {
            settings.SlotFolder(slot).assign(u"Gl\u00f6ckchen und Kl\u00e4nge aus aller Welt");
            settings.SlotName(slot).assign(u"Ein ziemlich langer Name f\u00fcr einen Klang.wav");
        } else {
            settings.SlotFolder(slot).assign(u"Drums");
            settings.SlotName(slot).assign(u"Kick.wav");
        }
    }
    settings.SensitivityX = second ? 9 : 2;
    settings.SensitivityY = second ? 1 : 10;
    settings.SensitivityZ = second ? 7 : 3;
    settings.XButtonClose = second;
    settings.AnimationsOn = !second;
    settings.VibrationsOn = second;
    settings.PulseVibrationsOn = !second;
    return settings;
}

void use_settings_file(FileRegistry& registry) {
    Platform services;
    services.registry = &registry;
    install_platform(services);
}

// The saving process: never returns.
[[noreturn]] void save_until_killed(const std::string& path, std::atomic<unsigned>* saves) {
    FileRegistry registry(path);
    use_settings_file(registry);
    Settings records[2] = {record(false), record(true)};
    std::printf("%d\n", static_cast<int>(::getpid()));
    std::fflush(stdout);
    for (unsigned round = 0;; ++round) {
        records[round % 2].Save();
        saves->store(round + 1, std::memory_order_relaxed);
    }
}

int serve() {
    // Shared with each saving process, so that its count outlives it.
    void* shared = ::mmap(nullptr, sizeof(std::atomic<unsigned>), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        std::perror("tiltophon_settings_saver: mmap");
        return 1;
    }
    auto* saves = new (shared) std::atomic<unsigned>(0);
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        std::string path(line);
        if (!path.empty() && path.back() == '\n') path.pop_back();
        saves->store(0);
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child < 0) {
            std::perror("tiltophon_settings_saver: fork");
            return 1;
        }
        if (child == 0) save_until_killed(path, saves);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        std::printf("ended %u\n", saves->load());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tiltophon_settings_saver first|second|serve\n");
        return 2;
    }
    if (std::strcmp(argv[1], "serve") == 0) return serve();
    const bool first = std::strcmp(argv[1], "first") == 0;
    if (!first && std::strcmp(argv[1], "second") != 0) {
        std::fprintf(stderr, "tiltophon_settings_saver: unknown mode %s\n", argv[1]);
        return 2;
    }
    FileRegistry registry(FileRegistry::default_path());
    use_settings_file(registry);
    return record(!first).Save() == 1 ? 0 : 1;
}
