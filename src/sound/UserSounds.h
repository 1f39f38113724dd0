// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/SoundLimits.h"

namespace tiltophon {

// The user's own library (Settings::UserSoundsFolder): made on the first start, and
// where sounds dropped onto the window are copied to.

// The set that dropped sounds go to.
constexpr std::u16string_view kDroppedSoundsSet = u"My Sounds";
// Larger files are not copied: the player would not play them, and a drop by mistake
// must not fill the user's disk.
constexpr uint64_t kMaxDroppedSoundBytes = kMaxSoundFileBytes;
// "Kick (2).wav" to "Kick (99).wav" are tried after "Kick.wav".
constexpr int kMaxNameNumber = 99;

// Makes the user's library with a README.txt when it does not exist yet; in one that
// exists, removes what copies of dropped sounds left when the program ended during
// them. Nothing for an empty path; a folder that cannot be made is left as it is (the
// bank finds no sounds there, and the platform says why). Call it before any drop.
void PrepareUserSounds(std::u16string_view user_folder);

// `name` with " (n)" before its extension: NumberedName("Kick.wav", 2) is
// "Kick (2).wav". Number 1 gives the name as it is.
std::u16string NumberedName(std::u16string_view name, int number);

// The file name part of a path; empty when the path ends with a separator.
std::u16string_view FileNameOf(std::u16string_view path);

// Copies one dropped file into the user library's "My Sounds" set, made when missing,
// when it has a sound file's name and the player would play it: under its own name,
// or the first numbered one that is free. True when a copy was made; anything else
// (not a sound, one the player would refuse, no user library, a full disk, an
// unwritable folder, a file that changes while it is copied, a copy that `cancelled`
// gives up) changes nothing. Reads and writes files: call it off the main thread.
bool ImportDroppedSound(std::u16string_view path, std::u16string_view user_folder,
                        const CopyCancelled& cancelled = {});

}  // namespace tiltophon
