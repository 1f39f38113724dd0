// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace tiltophon {

struct SoundEntry;

// The main window's handling of the motion message (first parameter the motion code
// 1 to 5): plays the sound of the slot that belongs to the direction on a short
// thread of its own and, with the pulse option on, pulses the vibrator on another.
// Codes outside 1 to 5 go to the window's default processing, whose result it
// returns; otherwise 0. Does nothing until the loader has finished.
LResult on_motion_message(Window* window, uint32_t message, WParam code, LParam second);

// Plays the entry on a short thread of its own; nothing for no entry, or when no
// thread can be started.
void start_playback(const SoundEntry* entry);

// Ends every sound playing, and any asked for that has not started yet.
void stop_all_sounds();

// Thread routines: start playing the entry's WAV file, and return at once (the
// slot and play buttons and the sound list's preview use it too); give one 25 ms
// vibration pulse. Both return 1.
uint32_t playback_thread(const SoundEntry* entry);
uint32_t vibration_thread();

}  // namespace tiltophon
