// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

#include "platform/Platform.h"
#include "platform/headless/HeadlessClock.h"
#include "platform/headless/HeadlessDevices.h"
#include "platform/headless/HeadlessSoundRecorder.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/headless/MemoryRegistry.h"
#include "platform/media/DecodingSoundFileCheck.h"
#include "platform/media/FlacEncoder.h"
#include "platform/media/FreeTypeFontEngine.h"
#include "platform/media/PngImageCodec.h"

namespace tiltophon {

// Everything a test needs to run the program without a screen, a sound card or a
// sensor: virtual time, a pumped message queue, recorders for the devices, a
// microphone that hears what the test gives it. Files, images, fonts, the check of
// sound files and the encoder are the real ones. Constructing it installs it as the
// platform and starts the application record afresh.
class HeadlessPlatform {
public:
    explicit HeadlessPlatform(ScreenInfo screen = {});
    ~HeadlessPlatform();

    HeadlessClock clock;
    HeadlessWindowSystem windows;
    HeadlessDevices devices;
    HeadlessThreads threads;
    FakeLibraryLoader libraries;
    PngImageCodec images;
    FreeTypeFontEngine fonts;
    MemoryRegistry registry;
    DecodingSoundFileCheck sound_check;
    HeadlessSoundRecorder recorder;
    FlacEncoder encoder;

    Platform& services() { return services_; }

private:
    Platform services_;
};

}  // namespace tiltophon
