// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdio>
#include <string>

#include "platform/ScreenSpec.h"

namespace tiltophon {

// What the command line asks of the process. The program takes no arguments of its
// own; the options answer questions, before anything else happens, or choose between
// full screen and a window.
struct CommandLine {
    enum class Action { kRun, kHelp, kVersion, kMisuse };

    Action action = Action::kRun;
    // --fullscreen or --window, the last one given; else the display decides.
    ScreenMode screen_mode = ScreenMode::kAuto;
    // For a misuse: what was wrong, as a user reads it.
    std::string problem;
};

// Reads the options with getopt_long. Any misuse wins over --help and --version.
CommandLine parse_command_line(int argc, char* argv[]);

// Prints the answer the command line asks for: the usage on `out` for --help, the
// version on `out` for --version, the problem and the usage on `err` for a misuse.
// Returns the process's exit code (0, or 2 for a misuse); -1 when the program runs.
int answer_command_line(const CommandLine& line, std::FILE* out, std::FILE* err);

}  // namespace tiltophon
