// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the shipped sound sets as 16-bit mono 44.1 kHz WAV files:
//   tiltophon-soundgen OUTPUT_FOLDER
// makes OUTPUT_FOLDER/<Set>/<Sound>.wav for every set, leaving other files alone.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "SoundSets.h"
#include "platform/media/WaveFile.h"

int main(int argc, char** argv) {
    using namespace tiltophon;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::filesystem::path root(argv[1]);
    for (const soundgen::SoundSet& set : soundgen::sound_sets()) {
        std::error_code error;
        std::filesystem::create_directories(root / set.folder, error);
        if (error) {
            std::fprintf(stderr, "tiltophon-soundgen: cannot create %s: %s\n",
                         (root / set.folder).c_str(), error.message().c_str());
            return 1;
        }
        for (const soundgen::Sound& sound : set.sounds) {
            std::string path = (root / set.folder / (sound.name + ".wav")).string();
            std::string reason;
            if (!write_file(path, encode_wave_s16(sound.make(), uint32_t(soundgen::kRate)),
                            reason)) {
                std::fprintf(stderr, "tiltophon-soundgen: cannot write %s\n", reason.c_str());
                return 1;
            }
        }
    }
    return 0;
}
