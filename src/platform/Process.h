// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string_view>
#include <utility>

namespace tiltophon {

// A shared library loaded by name; symbols are looked up by name.
class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;
    // Loads the library through the system's ordinary search (the program's own folder
    // first); null when it cannot be loaded. The library is never unloaded.
    virtual void* load_library(std::string_view name) = 0;
    virtual void* find_symbol(void* library, std::string_view name) = 0;
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts `program` with `argument` as its only argument, without a shell, and does
    // not wait for it. False when the process could not be started.
    virtual bool spawn(std::u16string_view program, std::u16string_view argument) = 0;
    // True when `path` names an existing file that `spawn` could start as it is.
    virtual bool is_program_file(std::u16string_view path) = 0;
};

// Starts the program's short-lived threads (loader, playback, vibration pulses).
class ThreadRunner {
public:
    virtual ~ThreadRunner() = default;
    // Runs the routine on a new thread that nobody waits for.
    virtual void start_detached(std::function<void()> routine) = 0;
    // The same for long work that may wait on the disk (copying a file): it must not
    // hold a thread that a swing's sound may want, nor take its priority.
    virtual void start_background(std::function<void()> routine) {
        start_detached(std::move(routine));
    }
};

}  // namespace tiltophon
