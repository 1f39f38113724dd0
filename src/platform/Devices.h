// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tiltophon {

// Plays sound files. One output stream: a new sound ends the one still playing, or,
// with overlapping sounds on, plays along with it.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing the file and returns at once. A missing or unplayable file plays
    // nothing and reports nothing; so does a system without an audio device.
    virtual void play_file(std::u16string_view path) = 0;
    // The files that `play_file` is likely to be given next (at most six: the five
    // slots' sounds and the preview's). A player may decode them ahead so that they
    // start at once, and forget any it prepared before that is not among them. Returns
    // at once; playing works the same without it.
    virtual void prepare(std::span<const std::u16string> paths) { (void)paths; }
    // On: sounds started from now on play along with those still playing, up to a
    // player's own limit, beyond which the oldest ends. Off (the start): a new sound
    // ends the one playing.
    virtual void set_overlap(bool on) { (void)on; }
    // Ends every sound playing, and any asked for that has not started yet.
    virtual void stop_all() {}
};

// The vibration motor. Both calls return at once, from any thread: a motor or a
// haptics service that is slow to answer, or gone, never holds up the caller.
class Vibrator {
public:
    virtual ~Vibrator() = default;
    // Starts a pulse meant to last `duration_ms` (motors that take the length up front
    // use it); `stop_pulse` follows when that time is up.
    virtual void start_pulse(uint32_t duration_ms) = 0;
    virtual void stop_pulse() = 0;
};

// The system's inactivity countdown (screen blanking, suspend).
class IdleControl {
public:
    virtual ~IdleControl() = default;
    // On: the system stays awake from now until the hold ends, whatever the countdown
    // says. Off: it may go idle as usual again, at once. Main thread only.
    virtual void hold(bool on) = 0;
    // Restarts the countdown; the system stays awake for at least `hold_ms` more.
    virtual void reset_idle(uint32_t hold_ms) = 0;
};

}  // namespace tiltophon
