// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Messages.h"
#include "platform/Window.h"

namespace tiltophon {

// Posted to the main window when dropped sounds have been copied into the user's library.
inline constexpr uint32_t kSoundsAddedMessage = msg::kApp + 2;

// The drop message: the dropped files that are sound files by name are copied into
// the user's library on a thread of their own, so that a large file or a slow disk
// never holds up the window; that thread posts kSoundsAddedMessage when it copied any.
// Drops before the program has loaded are ignored.
void on_drop_files(Window* window);

// Gives up the copies of dropped files under way and waits until their threads are
// done with the window: a copy cut off leaves nothing. For the window's teardown.
void cancel_sound_drops();

// kSoundsAddedMessage: the sounds new in the libraries go into the bank and, at their
// places, into the pick list, at once.
void on_sounds_added(Window* window);

}  // namespace tiltophon
