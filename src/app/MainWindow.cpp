// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/MainWindow.h"

#include <algorithm>

#include "app/AppResources.h"
#include "app/AppState.h"
#include "app/KeepAwakeTimer.h"
#include "app/Loader.h"
#include "app/Recording.h"
#include "app/SoundDrops.h"
#include "app/SplashScreen.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionMessage.h"
#include "motion/MotionPolling.h"
#include "motion/SensorBinding.h"
#include "platform/Platform.h"
#include "screens/Commands.h"
#include "screens/FramePainter.h"
#include "screens/Screens.h"
#include "settings/Settings.h"
#include "settings/Skin.h"
#include "sound/SoundBank.h"
#include "vavurud/AnimationClock.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Draw.h"
#include "vavurud/Panel.h"

namespace tiltophon {

// The window has one timer of each id: two users of one id would stop each other.
static_assert([] {
    constexpr uint32_t ids[] = {kDetectorXTimer, kDetectorYTimer,  kDetectorZTimer,
                                ListScrollTimerId, TransitionTimerId, kKeepAwakeTimerId,
                                StopAllHoldTimerId, kRecordTimerId};
    for (uint32_t a : ids) {
        int uses = 0;
        for (uint32_t b : ids) uses += a == b;
        if (uses != 1) return false;
    }
    return true;
}());

namespace {

// Only the main thread touches it.
int32_t g_saved_orientation = -1;

void on_create(Window* window) {
    AppState& state = app();
    state.main_window = window;
    state.loading.store(true, std::memory_order_release);
    g_saved_orientation = -1;

    state.splash = state.make_owned<SplashScreen>();
    if (state.resources) state.splash->set_background(state.resources->splash_bitmap);

    state.keep_awake = state.make_owned<KeepAwakeTimer>(window, kKeepAwakeTimerId, keep_awake_tick);
    state.animation_clock = state.make_owned<AnimationClock>();
    state.animation_clock->set_kind(1);
}

void on_activate(Window* window, WParam first) {
    AppState& state = app();
    if (first == activate::kActive || first == activate::kClickActive) {
        set_full_screen(window, true);
        g_saved_orientation = query_orientation();
        set_orientation(0);
        return;
    }
    // The controls and detectors belong to the loader until it has finished.
    if (state.is_loaded()) {
        stop_motion();
        if (CheckButton* toggle = state.motion_toggle) {
            toggle->set_pressed(false);
            toggle->set_text(switch_caption(false));
        }
    }
    if (state.keep_awake) state.keep_awake->stop();
    set_full_screen(window, false);
    set_orientation(g_saved_orientation);
}

void on_paint(Window* window) {
    AppState& state = app();
    Rect client = window->client_rect();
    fill_rect(state.frame_buffer, client, 0x000000);
    if (!state.is_loaded()) {
        if (state.splash) state.splash->paint_to(state.frame_buffer, client, kSplashOpacity);
    } else if (!compose_frame(window, client.left, client.top, client.right, client.bottom) &&
               state.root_panel) {
        state.root_panel->paint(state.frame_buffer);
        paint_focus_ring(state.frame_buffer);
    }
    window->present(state.frame_buffer);
}

// A close that comes while the loader still builds the program must neither read
// its half-built controls nor save a settings record it has not finished loading:
// the loader is stopped and nothing is saved, so the stored settings stay as they were.
void on_close() {
    AppState& state = app();
    if (!state.is_loaded()) {
        stop_loader();
        return;
    }
    collect_settings();
    if (state.settings) state.settings->Save();
}

void on_destroy() {
    // Nothing is released while the loader may still be building it, and no copy of
    // a dropped file may post to the window once it is gone.
    stop_loader();
    cancel_sound_drops();
    cancel_recording();
    AppState& state = app();
    if (state.sensor) state.sensor->close();
    // The system may go idle again once the window is gone.
    if (state.keep_awake) state.keep_awake->stop();
    if (state.sound_bank) state.sound_bank->Clear();
    if (state.skin) state.skin->Release();
    if (state.resources) state.resources->release();
    free_buffers();
    if (WindowSystem* windows = platform().windows) windows->post_quit(0);
}

void on_pen(Window* window, uint32_t message, LParam second) {
    AppState& state = app();
    auto position = static_cast<uintptr_t>(second);
    int32_t x = low_word(position);
    int32_t y = high_word(position);
    Panel* root = state.is_loaded() ? state.root_panel : nullptr;
    switch (message) {
        case msg::kPenMove:
            state.last_pen_move = {x, y};
            if (root) root->on_pen_move(window, 0, x, y);
            break;
        case msg::kPenDown:
            state.last_pen_down = {x, y};
            if (root) root->on_pen_down(window, 0, x, y);
            break;
        case msg::kPenUp:
            state.last_pen_up = {x, y};
            if (root) root->on_pen_up(window, 0, x, y);
            break;
    }
}

}  // namespace

LResult window_proc(Window* window, uint32_t message, WParam first, LParam second) {
    switch (message) {
        case msg::kCreate:
            on_create(window);
            return 0;
        case msg::kDestroy:
            on_destroy();
            return 0;
        case msg::kSize:
            return 0;
        case msg::kActivate:
            on_activate(window, first);
            return 0;
        case msg::kPaint:
            on_paint(window);
            return 0;
        case msg::kClose:
            on_close();
            return window->default_proc(message, first, second);
        case msg::kEraseBackground:
            return 0;
        case msg::kKeyDown:
        case msg::kKeyUp:
            on_slot_key(window, message, first);
            on_focus_key(window, message, first, second);
            return 0;
        case msg::kDropFiles:
            on_drop_files(window);
            return 0;
        case kSoundsAddedMessage:
            on_sounds_added(window);
            return 0;
        case kTakeMessage:
            on_take_news(window, static_cast<uint32_t>(first), static_cast<uint32_t>(second));
            return 0;
        case msg::kCommand:
            // Only the controls send it, and they exist once loading is over.
            if (!app().is_loaded()) return 0;
            return on_command(window, message, first, second);
        case msg::kPenMove:
        case msg::kPenDown:
        case msg::kPenUp:
            on_pen(window, message, second);
            return 0;
        case kMotionMessage:
            return on_motion_message(window, message, first, second);
    }
    return window->default_proc(message, first, second);
}

void create_buffers(Window*) {
    ScreenInfo screen;
    if (WindowSystem* windows = platform().windows) screen = windows->screen();
    int32_t width = std::max(screen.width, 0);
    int32_t height = std::max(screen.height, 0);
    AppState& state = app();
    state.frame_buffer = Bitmap(width, height);
    state.outgoing_buffer = Bitmap(width, height);
    state.incoming_buffer = Bitmap(width, height);
}

void free_buffers() {
    AppState& state = app();
    state.frame_buffer = Bitmap();
    state.outgoing_buffer = Bitmap();
    state.incoming_buffer = Bitmap();
}

int set_full_screen(Window* window, bool on) {
    if (window) window->set_full_screen(on);
    return 1;
}

int32_t query_orientation() {
    WindowSystem* windows = platform().windows;
    return windows ? windows->query_orientation() : -1;
}

int set_orientation(int32_t target) {
    WindowSystem* windows = platform().windows;
    if (!windows || target < 0) return 0;
    int32_t supported = windows->supported_orientations();
    int32_t current = query_orientation();
    if (supported < 0 || current < 0 || current == target) return 0;
    return windows->change_orientation(target) ? 1 : 0;
}

int32_t saved_orientation() {
    return g_saved_orientation;
}

}  // namespace tiltophon
