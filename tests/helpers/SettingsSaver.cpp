// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Saves the settings through the real settings file ($XDG_CONFIG_HOME/tiltophon/
// registry.reg), as the program does when it closes, so that the crash test can kill a
// save at any moment many times a second.
//
//   tiltophon_settings_saver first|second   saves that record once
//   tiltophon_settings_saver loop           prints "saving", then saves the two records
//                                           in turn until it is killed

#include <cstdio>
#include <cstring>

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tiltophon_settings_saver first|second|loop\n");
        return 2;
    }
    FileRegistry registry(FileRegistry::default_path());
    Platform services;
    services.registry = &registry;
    install_platform(services);

    Settings records[2] = {record(false), record(true)};
    if (std::strcmp(argv[1], "first") == 0) return records[0].Save() == 1 ? 0 : 1;
    if (std::strcmp(argv[1], "second") == 0) return records[1].Save() == 1 ? 0 : 1;
    if (std::strcmp(argv[1], "loop") != 0) {
        std::fprintf(stderr, "tiltophon_settings_saver: unknown mode %s\n", argv[1]);
        return 2;
    }
    std::printf("saving\n");
    std::fflush(stdout);
    for (unsigned round = 0;; ++round) records[round % 2].Save();
}
