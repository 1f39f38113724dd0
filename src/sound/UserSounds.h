// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tiltophon {

// The user's own library (Settings::UserSoundsFolder): made on the first start, and
// where sounds dropped onto the window are copied to.

// The set that dropped sounds go to.
constexpr std::u16string_view kDroppedSoundsSet = u"My Sounds";
// Larger files are not copied: no sound the board plays is that long, and a drop by
// mistake must not fill the user's disk.
constexpr uint64_t kMaxDroppedSoundBytes = 256ull << 20;
// "Kick (2).wav" to "Kick (99).wav" are tried after "Kick.wav".
constexpr int kMaxNameNumber = 99;

// Makes the user's library with a README.txt when it does not exist yet. Nothing for
// an empty path; a folder that cannot be made is left as it is (the bank finds no
// sounds there, and the platform says why).
void PrepareUserSounds(std::u16string_view user_folder);

// `name` with " (n)" before its extension: NumberedName("Kick.wav", 2) is
// "Kick (2).wav". Number 1 gives the name as it is.
std::u16string NumberedName(std::u16string_view name, int number);

// The file name part of a path; empty when the path ends with a separator.
std::u16string_view FileNameOf(std::u16string_view path);

// Copies one dropped file into the user library's "My Sounds" set, made when missing,
// when its name and its first bytes are those of a sound file: under its own name, or
// the first numbered one that is free. True when a copy was made; anything else
// (not a sound, no user library, a full disk, an unwritable folder) changes nothing.
// Reads and writes files: call it off the main thread.
bool ImportDroppedSound(std::u16string_view path, std::u16string_view user_folder);

}  // namespace tiltophon
