// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Process.h"

namespace tiltophon {

// Starts programs with posix_spawnp and an argument vector, never through a shell,
// so nothing in the argument is interpreted. The child is reaped in the background.
class PosixProcessLauncher : public ProcessLauncher {
public:
    // An empty argument is left out of the argument vector.
    bool spawn(std::u16string_view program, std::u16string_view argument) override;
    // A regular file (links followed) that this user may execute.
    bool is_program_file(std::u16string_view path) override;
};

}  // namespace tiltophon
