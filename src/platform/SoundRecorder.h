// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <span>
#include <string>
#include <vector>

namespace tiltophon {

// The default microphone. One take at a time: `start_take`, then `end_take`, each
// from one thread at a time; `take_failed` from any thread.
class SoundRecorder {
public:
    // Takes come as mono samples, -1 to 1, at this rate, whatever the microphone gives.
    static constexpr int kRate = 48000;
    // A take holds no more than this; what the microphone gives beyond it is dropped.
    static constexpr int kMaxSeconds = 10;

    virtual ~SoundRecorder() = default;
    // Opens the default microphone and starts a take. False, with the reason said once
    // on stderr, when there is none or it cannot be opened. May wait for a sound
    // server: never on the main thread.
    virtual bool start_take() = 0;
    // True once the microphone failed during the take (unplugged, its server gone).
    // Returns at once.
    virtual bool take_failed() = 0;
    // Ends the take and closes the microphone; what it recorded. May wait for the
    // audio thread: never on the main thread.
    virtual std::vector<float> end_take() = 0;
};

// Makes sound files.
class SoundEncoder {
public:
    virtual ~SoundEncoder() = default;
    // The bytes of a FLAC file of these mono samples (-1 to 1); empty when it cannot
    // be made.
    virtual std::string flac(std::span<const float> samples, int rate) = 0;
};

}  // namespace tiltophon
