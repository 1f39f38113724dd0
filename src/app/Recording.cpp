// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Recording.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/AppResources.h"
#include "app/AppState.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "settings/Settings.h"
#include "sound/SlotPresentation.h"
#include "sound/SoundBank.h"
#include "sound/TakeCutter.h"
#include "sound/UserSounds.h"
#include "vavurud/Button.h"
#include "vavurud/Draw.h"
#include "vavurud/SelectList.h"

namespace tiltophon {

namespace {

// Past this many recordings in the set, a take is not saved.
constexpr uint32_t kMaxRecordingNumber = 9999;

using Phase = TakeState::Phase;

// What the main thread shares with the threads that open and save takes.
struct Takes {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
    bool cancel = false;
    // The microphone is open: a take was started and not yet ended.
    bool open = false;
};

Takes& takes() {
    static Takes state;
    return state;
}

uint32_t now_ms() {
    Clock* clock = platform().clock;
    return clock ? clock->tick_count_ms() : 0;
}

// Runs `work` on a thread of its own and posts what it reports, unless the window is
// going away by then.
template <typename Work>
void run_take_work(Window* window, Work work) {
    {
        std::lock_guard lock(takes().mutex);
        ++takes().running;
    }
    auto routine = [window, work = std::move(work)] {
        const std::pair<TakeNews, uint32_t> news = work();
        Takes& state = takes();
        std::lock_guard lock(state.mutex);
        // Under the lock: the window cannot be torn down between this test and the post.
        if (!state.cancel) {
            window->post_message(kTakeMessage, static_cast<WParam>(news.first), news.second);
        }
        --state.running;
        state.ended.notify_all();
    };
    if (ThreadRunner* threads = platform().threads) {
        threads->start_background(std::move(routine));
    } else {
        routine();
    }
}

void set_open(bool open) {
    std::lock_guard lock(takes().mutex);
    takes().open = open;
}

// Saves the finished sound as the first free "Recording N.flac" of the user's
// "My Sounds"; its number, or 0 when it could not be saved (said on stderr).
uint32_t save_sound(const std::vector<float>& sound, const std::u16string& user_folder) {
    FileSystem* files = platform().files;
    SoundEncoder* encoder = platform().encoder;
    if (!files || !encoder || user_folder.empty()) return 0;
    const std::string flac = encoder->flac(sound, SoundRecorder::kRate);
    if (flac.empty()) {
        std::fprintf(stderr, "tiltophon: the recording could not be encoded; nothing was saved\n");
        return 0;
    }
    const std::u16string set_folder = user_folder + std::u16string(kDroppedSoundsSet);
    // The file system has said why it cannot make the folder.
    if (files->make_folders(set_folder) == FolderResult::kFailed) return 0;
    for (uint32_t number = 1; number <= kMaxRecordingNumber; ++number) {
        const std::u16string path = set_folder + kPathSeparator + RecordingName(number);
        switch (files->publish_new_file(path, flac)) {
            case CopyResult::kCopied:
                return number;
            case CopyResult::kNameTaken:
                continue;
            case CopyResult::kFailed:
                break;
        }
        break;
    }
    std::fprintf(stderr, "tiltophon: the recording could not be saved in %s (is the disk full?)\n",
                 utf8_from_utf16(set_folder).c_str());
    return 0;
}

// Ends the take; with `keep`, cuts it to its sound and saves that.
void end_take(Window* window, bool keep) {
    app().take.phase = Phase::kSaving;
    window->kill_timer(kRecordTimerId);
    const Settings* settings = app().settings;
    std::u16string user_folder = settings ? settings->UserSoundsFolder.str() : std::u16string();
    run_take_work(window, [keep, user_folder = std::move(user_folder)] {
        SoundRecorder* recorder = platform().recorder;
        std::vector<float> take = recorder ? recorder->end_take() : std::vector<float>();
        set_open(false);
        if (!keep) return std::pair{TakeNews::kNothingSaved, 0u};
        const std::vector<float> sound = TakeCutter(SoundRecorder::kRate).cut(take);
        const uint32_t number = sound.empty() ? 0 : save_sound(sound, user_folder);
        return std::pair{number ? TakeNews::kSaved : TakeNews::kNothingSaved, number};
    });
}

void on_record_tick(Window* window, uint32_t) {
    TakeState& state = app().take;
    if (state.phase != Phase::kRecording) return;
    SoundRecorder* recorder = platform().recorder;
    if (recorder && recorder->take_failed()) {
        std::fprintf(stderr, "tiltophon: the microphone failed during the take; nothing was saved\n");
        end_take(window, false);
        return;
    }
    const uint32_t elapsed = now_ms() - state.started_ms;
    if (elapsed >= kLongestTakeMs) {
        end_take(window, true);
        return;
    }
    if (Button* button = app().record_button) {
        show_record_button_recording(*button, elapsed);
        button->invalidate();
    }
}

void back_to_rest(Window* window) {
    app().take = TakeState();
    if (Button* button = app().record_button) {
        show_record_button_at_rest(*button);
        button->invalidate();
    }
    window->invalidate(nullptr, false);
}

// Puts the saved recording into the bank and the list, and selects it there.
void show_saved(Window* window, uint32_t number) {
    AppState& state = app();
    const Settings* settings = state.settings;
    if (!settings || !state.sound_bank || !state.sound_list) return;
    state.sound_bank->AddNewSounds(settings->SoundsFolder, settings->UserSoundsFolder);
    AddNewSoundsToList();
    const std::u16string name = RecordingName(number);
    SelectList& list = *state.sound_list;
    ListItem item;
    for (int32_t row = 0; list.get_item(row, item); ++row) {
        if (item.text.view() == kDroppedSoundsSet && item.subtext.view() == name) {
            list.select(row);
            list.scroll_into_view(row);
            list.invalidate();
            break;
        }
    }
    window->invalidate(nullptr, false);
}

}  // namespace

std::u16string RecordingName(uint32_t number) {
    return u"Recording " + utf16_from_utf8(std::to_string(number)) + u".flac";
}

void show_record_button_at_rest(Button& button) {
    const AppResources* resources = app().resources;
    button.set_image(resources ? resources->record_up : nullptr, image_slot::kUp);
    button.set_text(translated(kRecordCaption));
}

void show_record_button_recording(Button& button, uint32_t elapsed_ms) {
    const AppResources* resources = app().resources;
    button.set_image(resources ? resources->record_on : nullptr, image_slot::kUp);
    const uint32_t seconds = elapsed_ms / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
    button.set_text(utf16_from_utf8(text));
}

void on_record_button(Window* window) {
    TakeState& state = app().take;
    const Settings* settings = app().settings;
    switch (state.phase) {
        case Phase::kRest:
            if (!platform().recorder || !settings || settings->UserSoundsFolder.empty()) return;
            state.phase = Phase::kStarting;
            if (Button* button = app().record_button) {
                show_record_button_recording(*button, 0);
                button->invalidate();
            }
            run_take_work(window, [] {
                if (!platform().recorder->start_take()) return std::pair{TakeNews::kNoMicrophone, 0u};
                set_open(true);
                return std::pair{TakeNews::kStarted, 0u};
            });
            return;
        case Phase::kStarting:
            // Ended as soon as the microphone is open.
            state.stop_wanted = true;
            return;
        case Phase::kRecording:
            end_take(window, true);
            return;
        case Phase::kSaving:
            return;
    }
}

void on_take_news(Window* window, uint32_t news, uint32_t number) {
    TakeState& state = app().take;
    switch (static_cast<TakeNews>(news)) {
        case TakeNews::kStarted:
            if (state.phase != Phase::kStarting) return;
            state.phase = Phase::kRecording;
            state.started_ms = now_ms();
            if (state.stop_wanted) {
                end_take(window, true);
                return;
            }
            window->set_timer(kRecordTimerId, kRecordTickMs, on_record_tick);
            return;
        case TakeNews::kSaved:
            back_to_rest(window);
            show_saved(window, number);
            return;
        case TakeNews::kNoMicrophone:
        case TakeNews::kNothingSaved:
            back_to_rest(window);
            return;
    }
}

void cancel_recording() {
    Takes& state = takes();
    std::unique_lock lock(state.mutex);
    state.cancel = true;
    state.ended.wait(lock, [&state] { return state.running == 0; });
    if (state.open) {
        // Closing the microphone waits for its audio thread, but the window is going.
        if (SoundRecorder* recorder = platform().recorder) recorder->end_take();
        state.open = false;
    }
    state.cancel = false;
    app().take = TakeState();
}

}  // namespace tiltophon
