// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace tiltophon {

// The program as the build lays it out, for the tests that start it as a process.
inline const std::string kProgram = std::string(TILTOPHON_PROGRAM_DIR) + "/tiltophon";

// Where the program keeps its settings, below the folder a test gives it as
// XDG_CONFIG_HOME ("config" in the test's own folder).
inline const std::string kSettingsFile = "config/tiltophon/registry.reg";

// A settings file as a user's might be before the program saves: a few of its values,
// one not in ASCII, and a key of someone else's that every save must keep.
inline const std::string kSettingsWithForeignKey =
    "REGEDIT4\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shell\\Rai\\:DEFBROWSER]\n"
    "\"1\"=\"firefox\"\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings]\n"
    "\"SensitivityX\"=dword:00000007\n"
    "\"SoundSlot1Name\"=\"Kl\xc3\xa4ng.wav\"\n";

}  // namespace tiltophon
