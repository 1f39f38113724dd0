// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/SoundDrops.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/AppState.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "sound/SlotPresentation.h"
#include "sound/SoundBank.h"
#include "sound/SoundFiles.h"
#include "sound/UserSounds.h"

namespace tiltophon {

namespace {

// The copies of dropped files under way. The window waits for them before it goes, so
// that none posts to a window that is gone.
struct DropCopies {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
    std::atomic<bool> cancel{false};
};

DropCopies& drop_copies() {
    static DropCopies copies;
    return copies;
}

void import_all(Window* window, const std::vector<std::u16string>& paths,
                const std::u16string& user_folder) {
    DropCopies& copies = drop_copies();
    const CopyCancelled cancelled = [&copies] { return copies.cancel.load(); };
    bool any = false;
    for (const std::u16string& path : paths) {
        if (cancelled()) break;
        any = ImportDroppedSound(path, user_folder, cancelled) || any;
    }
    std::lock_guard lock(copies.mutex);
    // Under the lock: the window cannot be torn down between this test and the post.
    if (any && !copies.cancel.load()) window->post_message(kSoundsAddedMessage, 0, 0);
    --copies.running;
    copies.ended.notify_all();
}

}  // namespace

void on_drop_files(Window* window) {
    std::vector<std::u16string> dropped = window->take_dropped_files();
    const Settings* settings = app().settings;
    if (!app().is_loaded() || !settings || settings->UserSoundsFolder.empty()) return;
    std::vector<std::u16string> sounds;
    for (std::u16string& path : dropped) {
        if (IsSoundFileName(FileNameOf(path))) sounds.push_back(std::move(path));
    }
    if (sounds.empty()) return;
    std::u16string user_folder = settings->UserSoundsFolder.str();
    {
        std::lock_guard lock(drop_copies().mutex);
        ++drop_copies().running;
    }
    auto work = [window, sounds = std::move(sounds), user_folder = std::move(user_folder)] {
        import_all(window, sounds, user_folder);
    };
    if (ThreadRunner* threads = platform().threads) {
        threads->start_background(std::move(work));
    } else {
        work();
    }
}

void cancel_sound_drops() {
    DropCopies& copies = drop_copies();
    std::unique_lock lock(copies.mutex);
    copies.cancel.store(true);
    copies.ended.wait(lock, [&copies] { return copies.running == 0; });
    copies.cancel.store(false);
}

void on_sounds_added(Window* window) {
    AppState& state = app();
    const Settings* settings = state.settings;
    if (!state.is_loaded() || !settings || !state.sound_bank) return;
    if (state.sound_bank->AddNewSounds(settings->SoundsFolder, settings->UserSoundsFolder) == 0) {
        return;
    }
    if (AddNewSoundsToList() > 0) window->invalidate(nullptr, true);
}

}  // namespace tiltophon
