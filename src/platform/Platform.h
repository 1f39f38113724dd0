// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Captions.h"
#include "platform/Clock.h"
#include "platform/Devices.h"
#include "platform/FileSystem.h"
#include "platform/Font.h"
#include "platform/ImageCodec.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/SoundFileCheck.h"
#include "platform/SoundRecorder.h"
#include "platform/WindowSystem.h"

namespace tiltophon {

// Every operating-system service the program uses. A backend (the real one, or the
// headless one of the tests) fills this in and installs it before the program runs.
struct Platform {
    Clock* clock = nullptr;
    WindowSystem* windows = nullptr;
    Registry* registry = nullptr;
    FileSystem* files = nullptr;
    ImageCodec* images = nullptr;
    FontEngine* fonts = nullptr;
    SoundPlayer* audio = nullptr;
    SoundFileCheck* sound_check = nullptr;
    SoundRecorder* recorder = nullptr;
    SoundEncoder* encoder = nullptr;
    Vibrator* vibrator = nullptr;
    IdleControl* idle = nullptr;
    LibraryLoader* libraries = nullptr;
    ProcessLauncher* processes = nullptr;
    ThreadRunner* threads = nullptr;
    Captions* captions = nullptr;
};

// The installed services. Installing happens once, before any other thread starts.
Platform& platform();
void install_platform(const Platform& services);

// The caption in the user's language through the installed captions; the English
// caption itself without them.
std::u16string translated(std::u16string_view english);

// The installed captions' language; empty for English.
std::u16string caption_language();

// Switches the installed vibrator on for `duration_ms` of the installed clock's time and
// off again; blocks the caller meanwhile. Without a vibrator it only takes the time.
void pulse_vibrator(uint32_t duration_ms);

}  // namespace tiltophon
