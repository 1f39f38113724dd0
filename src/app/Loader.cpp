// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Loader.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "app/AppState.h"
#include "app/SplashScreen.h"
#include "platform/Platform.h"
#include "motion/MotionSetup.h"
#include "screens/Screens.h"
#include "settings/SensitivityChoices.h"
#include "settings/Settings.h"
#include "settings/Skin.h"
#include "sound/SlotPresentation.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "sound/UserSounds.h"

namespace tiltophon {

namespace {

struct LoaderRun {
    std::mutex mutex;
    std::condition_variable ended;
    bool running = false;
    std::atomic<bool> stop{false};
};

LoaderRun& loader_run() {
    static LoaderRun run;
    return run;
}

void request_repaint() {
    if (Window* window = app().main_window) window->invalidate(nullptr, true);
}

void sleep_ms(uint32_t ms) {
    if (Clock* clock = platform().clock) clock->sleep_ms(ms);
}

uint32_t now_ms() {
    Clock* clock = platform().clock;
    return clock ? clock->tick_count_ms() : 0;
}

// The work of each step. Every step tests the objects it builds on and skips what
// depends on a missing one.

void no_work() {}

void load_sensor() { init_sensor_binding(); }

void load_settings() {
    Settings* settings = app().make_owned<Settings>();
    app().settings = settings;
    settings->Load();
}

void load_skin() {
    Skin* skin = app().make_owned<Skin>();
    app().skin = skin;
    if (Settings* settings = app().settings) skin->Load(settings->SkinFolder, settings->SkinFile);
}

void load_sound_bank() {
    SoundBank* bank = app().make_owned<SoundBank>();
    app().sound_bank = bank;
    if (Settings* settings = app().settings) {
        PrepareUserSounds(settings->UserSoundsFolder);
        bank->Scan(settings->SoundsFolder, settings->UserSoundsFolder);
        bank->Sort(FolderAscending);
    }
}

// Each slot gets back the very sound it had: folder and file name together, the
// file name alone only for settings saved without a folder.
void assign_sound_slots() {
    app().sound_slots = app().make_owned<SoundSlots>();
    Settings* settings = app().settings;
    if (!settings) return;
    std::array<std::u16string_view, kSlotCount> folders;
    std::array<std::u16string_view, kSlotCount> names;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        folders[slot - 1] = settings->SlotFolder(slot).view();
        names[slot - 1] = settings->SlotName(slot).view();
    }
    AssignSavedSlots(folders, names);
}

void create_detectors() { create_motion_detectors(); }

void build_controls() {
    build_screens();
}

// The slots' sounds on their buttons and rows, the sensitivity values and the sound list.
void put_data_into_controls() {
    for (int32_t slot = 1; slot <= kSlotCount; ++slot) ShowSlot(slot);
    FillSensitivityChoices();
    FillSoundList();
}

void apply_settings_to_program() {
    apply_settings();
}

void show_home_page() {
    show_frame(5, false);
    show_screen(19, false);
    show_tab(35, false, false);
}

constexpr std::array<LoaderStep, 11> kSteps = {{
    {english_caption(u"Loading..."), 0, no_work},
    {english_caption(u"Init HTC Sensor..."), 10, load_sensor},
    {english_caption(u"Loading Settings..."), 20, load_settings},
    {english_caption(u"Loading Skin..."), 30, load_skin},
    {english_caption(u"Loading SoundBank..."), 40, load_sound_bank},
    {english_caption(u"Init SoundSlots..."), 50, assign_sound_slots},
    {english_caption(u"Init ZovurIzadud..."), 60, create_detectors},
    {english_caption(u"Init VavurUD..."), 70, build_controls},
    {english_caption(u"Apply VavurUD Data..."), 80, put_data_into_controls},
    {english_caption(u"Apply Settings..."), 90, apply_settings_to_program},
    {english_caption(u"Init Screen..."), 100, show_home_page},
}};

}  // namespace

std::span<const LoaderStep> loader_steps() {
    return kSteps;
}

uint32_t run_loader(std::span<const LoaderStep> steps) {
    const std::atomic<bool>& stop = loader_run().stop;
    uint32_t start = now_ms();
    for (const LoaderStep& step : steps) {
        if (stop.load()) break;
        if (SplashScreen* splash = app().splash) {
            const std::u16string message = step.message ? translated(step.message) : u"";
            splash->set_step(message.c_str(), step.percent);
        }
        request_repaint();
        if (step.work) step.work();
        sleep_ms(kLoaderStepPauseMs);
    }
    // The rest of the minimum time, in short pauses so that a stop ends it soon.
    // Unsigned difference: right across the tick counter's wrap.
    for (uint32_t elapsed = now_ms() - start; !stop.load() && elapsed < kLoaderMinimumMs;
         elapsed = now_ms() - start) {
        sleep_ms(std::min(kLoaderMinimumMs - elapsed, kLoaderStepPauseMs));
    }
    // Everything built above becomes visible to the main thread with this store.
    app().loading.store(false, std::memory_order_release);
    request_repaint();
    return 1;
}

uint32_t loader_thread() {
    return run_loader(loader_steps());
}

void start_loader() {
    LoaderRun& run = loader_run();
    {
        std::lock_guard lock(run.mutex);
        run.running = true;
        run.stop.store(false);
    }
    auto routine = [&run] {
        loader_thread();
        std::lock_guard lock(run.mutex);
        run.running = false;
        run.stop.store(false);
        run.ended.notify_all();
    };
    if (ThreadRunner* threads = platform().threads) {
        threads->start_detached(routine);
    } else {
        routine();
    }
}

void wait_for_loader() {
    LoaderRun& run = loader_run();
    std::unique_lock lock(run.mutex);
    run.ended.wait(lock, [&run] { return !run.running; });
}

void stop_loader() {
    LoaderRun& run = loader_run();
    std::unique_lock lock(run.mutex);
    if (!run.running) return;
    run.stop.store(true);
    run.ended.wait(lock, [&run] { return !run.running; });
}

bool loader_stop_requested() {
    return loader_run().stop.load();
}

}  // namespace tiltophon
