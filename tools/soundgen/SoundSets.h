// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "Dsp.h"

namespace tiltophon::soundgen {

struct Sound {
    std::string name;  // file name without ".wav"
    Samples (*make)();
};

struct SoundSet {
    std::string folder;
    std::vector<Sound> sounds;
};

// The shipped sets: Drums, Bells, Voices and Synth.
const std::vector<SoundSet>& sound_sets();

}  // namespace tiltophon::soundgen
