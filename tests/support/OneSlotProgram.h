// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "app/AppState.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionMessage.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "program/HeadlessPlatform.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"

namespace tiltophon {

// The program's way from a swing to the sound player, and nothing else: the headless
// platform installed with the given player and thread runner, a main window whose
// procedure dispatches MotionMessage, and slot 1 holding the sound file `path`, which
// the player decodes ahead when `prepared`. For the tests and benchmarks that time or
// count a swing; everything is put back when it goes.
class OneSlotProgram {
public:
    OneSlotProgram(SdlSoundPlayer& player, ThreadRunner& threads, const std::u16string& path,
                   bool prepared = true) {
        headless.services().audio = &player;
        headless.services().threads = &threads;
        install_platform(headless.services());
        window = headless.windows.create_window(u"TiltophonClass", u"Tiltophon", window_proc);
        app().main_window = window;
        bank.AddEntry(u"Set", path.substr(path.rfind(u'/') + 1), path, nullptr, nullptr);
        app().sound_bank = &bank;
        app().sound_slots = &slots;
        app().loading = false;
        slots.entries[0] = bank.EntryAt(0);
        if (prepared) {
            std::vector<std::u16string> paths = {path};
            player.prepare(paths);
            player.wait_until_idle();
        }
    }
    ~OneSlotProgram() {
        install_platform({});
        reset_app();
    }
    OneSlotProgram(const OneSlotProgram&) = delete;
    OneSlotProgram& operator=(const OneSlotProgram&) = delete;

    HeadlessPlatform headless;
    SoundBank bank;
    SoundSlots slots;
    Window* window = nullptr;

private:
    static LResult window_proc(Window* window, uint32_t message, WParam first, LParam second) {
        if (message == kMotionMessage) return on_motion_message(window, message, first, second);
        return window->default_proc(message, first, second);
    }
};

}  // namespace tiltophon
