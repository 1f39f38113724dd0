// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "platform/Window.h"

namespace tiltophon {

class AppResources;
class AnimationClock;
class Button;
class ButtonEx;
class CheckButton;
class Control;
class KeepAwakeTimer;
class Label;
class MotionDetector;
class Panel;
class Picture;
class SelectList;
class SensorBinding;
class Settings;
class Skin;
class SoundBank;
class SoundSlots;
struct SoundEntry;
class SplashScreen;
class ValueSelector;

// The one process-wide record through which every part of the program reaches the
// program's objects. Objects are created once and live until the process ends.
//
// Publication between threads: the loader thread creates the objects and stores
// their pointers, then clears `loading` with a release store. The main thread
// reads loader-made objects only after it has seen `loading` false with an acquire
// load (`is_loaded()`), so it always sees them whole. Objects made on the main
// thread (the splash screen, the keep-awake timer, the animation clock) need no
// such care.
// The pick screen's take, as the main thread sees it (app/Recording.h).
struct TakeState {
    enum class Phase { kRest, kStarting, kRecording, kSaving };
    Phase phase = Phase::kRest;
    uint32_t started_ms = 0;
    // Tapped again before the microphone was open: the take ends as soon as it is.
    bool stop_wanted = false;
};

struct AppState {
    Window* main_window = nullptr;
    std::atomic<bool> loading{false};
    uint32_t pending_slot_id = 0;
    // The sound the pick list previewed last, kept ready with the slots' sounds while
    // the pick screen is up; null otherwise.
    const SoundEntry* preview_entry = nullptr;
    TakeState take;
    // True once the saved settings are in the controls; until then the controls hold
    // nothing worth saving.
    bool settings_applied = false;

    Bitmap frame_buffer;
    Bitmap outgoing_buffer;
    Bitmap incoming_buffer;

    AppResources* resources = nullptr;
    Settings* settings = nullptr;
    Skin* skin = nullptr;
    SplashScreen* splash = nullptr;
    SensorBinding* sensor = nullptr;
    KeepAwakeTimer* keep_awake = nullptr;
    SoundBank* sound_bank = nullptr;
    SoundSlots* sound_slots = nullptr;
    MotionDetector* detector_x = nullptr;
    MotionDetector* detector_y = nullptr;
    MotionDetector* detector_z = nullptr;
    AnimationClock* animation_clock = nullptr;

    // The controls of every page and bar.
    Panel* root_panel = nullptr;
    Panel* frame_panel = nullptr;
    Picture* top_bar_picture = nullptr;
    Button* close_button = nullptr;
    Button* about_button = nullptr;
    Picture* bottom_bar_picture = nullptr;
    Panel* main_panel = nullptr;
    Panel* about_page = nullptr;
    Panel* pick_page = nullptr;
    CheckButton* home_tab = nullptr;
    CheckButton* sounds_tab = nullptr;
    CheckButton* settings_tab = nullptr;
    Panel* home_page = nullptr;
    Panel* sounds_page = nullptr;
    Panel* settings_page = nullptr;
    // Indexed by slot (or corner) number; element 0 is unused.
    std::array<Button*, 6> slot_buttons{};
    std::array<Picture*, 5> corner_pictures{};
    CheckButton* motion_toggle = nullptr;
    CheckButton* pulse_toggle = nullptr;
    Picture* sounds_picture = nullptr;
    std::array<ButtonEx*, 6> sound_rows{};
    std::array<Button*, 6> play_buttons{};
    Label* sensitivity_label = nullptr;
    Label* x_axis_label = nullptr;
    Label* y_axis_label = nullptr;
    Label* z_axis_label = nullptr;
    ValueSelector* x_sensitivity_selector = nullptr;
    ValueSelector* y_sensitivity_selector = nullptr;
    ValueSelector* z_sensitivity_selector = nullptr;
    Label* x_button_close_label = nullptr;
    CheckButton* x_button_close_check = nullptr;
    Label* animations_label = nullptr;
    CheckButton* animations_check = nullptr;
    Label* touch_vibrations_label = nullptr;
    CheckButton* touch_vibrations_check = nullptr;
    Label* sounds_overlap_label = nullptr;
    CheckButton* sounds_overlap_check = nullptr;
    Label* about_title_label = nullptr;
    Label* about_platform_label = nullptr;
    Label* about_version_label = nullptr;
    Picture* about_logo_picture = nullptr;
    Label* about_web_label = nullptr;
    Label* about_mail_label = nullptr;
    Button* donate_button = nullptr;
    Label* about_notice_label = nullptr;
    Button* back_button = nullptr;
    SelectList* sound_list = nullptr;
    Button* ok_button = nullptr;
    Button* cancel_button = nullptr;
    Button* record_button = nullptr;

    // The control the keys act on, and whether a key has been pressed yet: until
    // then no focus ring is drawn. Main thread only.
    Control* keyboard_focus = nullptr;
    bool focus_ring_shown = false;

    Point last_pen_down{};
    Point last_pen_up{};
    Point last_pen_move{};

    bool is_loaded() const { return !loading.load(std::memory_order_acquire); }

    // Creates a long-lived object. The record keeps it until the process ends (or
    // until a test starts afresh with `reset_app`); callers keep the plain pointer.
    template <typename T, typename... Args>
    T* make_owned(Args&&... args) {
        auto object = std::make_shared<T>(std::forward<Args>(args)...);
        std::lock_guard lock(owned_mutex_);
        owned_.push_back(object);
        return object.get();
    }

private:
    std::mutex owned_mutex_;
    std::vector<std::shared_ptr<void>> owned_;
};

AppState& app();

// Tests only: drops every object and starts from an all-zero record.
void reset_app();

}  // namespace tiltophon
