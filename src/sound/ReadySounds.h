// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tiltophon {

struct SoundEntry;

// Tells the sound player which files a swing or a tap may play next: the five slots'
// sounds and the pick list's last preview. The player decodes them ahead, so that
// they start at once. Called whenever one of them changes; nothing without a player.
void PrepareSlotSounds();

// The pick list previewed `entry` (null: the pick screen closed); it is kept ready
// with the slots' sounds, so that a second tap, or the slot it is given, is quick.
void SetPreviewSound(const SoundEntry* entry);

}  // namespace tiltophon
