// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlWindowSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/ScreenSpec.h"
#include "platform/Text.h"
#include "platform/sdl/DisplayTurns.h"
#include "platform/sdl/SdlDevices.h"

namespace tiltophon {

namespace {

// The name of the installed desktop entry: docks and phone shells find the program's
// icon and name through it.
constexpr char kApplicationId[] = "org.tiltophon.Tiltophon";

// How the program is named to the desktop, the sound server and the screen saver.
// Set before SDL's video starts, which reads them; the user's own settings win.
void name_the_program() {
    ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", kApplicationId, 0);
    ::setenv("SDL_VIDEO_X11_WMCLASS", kApplicationId, 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Tiltophon");
    // SDL 2.26 falls back to the application name here, but not every audio driver of
    // every version does.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tiltophon");
    SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, "Listening for swings");
}

// The first display as its panel stands naturally: a shell that turned it has turned
// its bounds too.
DisplayInfo first_display(DisplayTurns& turns) {
    DisplayInfo display;
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(0, &bounds) == 0) {
        bool quarter = turns.turns(0) % 2 != 0;
        display.width = quarter ? bounds.h : bounds.w;
        display.height = quarter ? bounds.w : bounds.h;
    }
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) == 0 && std::isfinite(dpi)) {
        display.dpi = static_cast<int32_t>(std::clamp(dpi, -1.0f, 1.0e6f));
    }
    display.touch = SDL_GetNumTouchDevices() > 0;
    return display;
}

// How a display variable stands, for a user looking for why no window came.
std::string describe_variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::string(name) + " is not set";
    return std::string(name) + " is \"" + value + "\"";
}

bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() && SDL_strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The keys that move and use the focus; 0 for others. Tab and the arrows repeat while
// held, as they do everywhere.
WParam navigation_key(SDL_Keycode code) {
    switch (code) {
        case SDLK_TAB: return key::kTab;
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER: return key::kEnter;
        case SDLK_ESCAPE: return key::kEscape;
        case SDLK_SPACE: return key::kSpace;
        case SDLK_LEFT: return key::kLeft;
        case SDLK_UP: return key::kUp;
        case SDLK_RIGHT: return key::kRight;
        case SDLK_DOWN: return key::kDown;
        default: return 0;
    }
}

}  // namespace

bool SdlWindowSystem::invisible_driver_unasked(std::string_view driver, const char* requested) {
    if (!same_name(driver, "offscreen") && !same_name(driver, "dummy")) return false;
    std::string_view list = requested ? requested : "";
    while (!list.empty()) {
        size_t comma = list.find(',');
        if (same_name(list.substr(0, comma), driver)) return false;
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return true;
}

std::string SdlWindowSystem::display_problem() const {
    const char* driver = ok_ ? SDL_GetCurrentVideoDriver() : nullptr;
    if (driver && !invisible_driver_unasked(driver, std::getenv("SDL_VIDEODRIVER"))) return {};
    std::string problem = "needs a graphical session, and no display could be opened (" +
                          describe_variable("DISPLAY") + ", " +
                          describe_variable("WAYLAND_DISPLAY");
    if (!driver) problem += std::string("; ") + SDL_GetError();
    return problem + "). Start it from the desktop, or set SDL_VIDEODRIVER=dummy to run it unseen.";
}

SdlWindowSystem::SdlWindowSystem(ScreenMode mode) {
    name_the_program();
    // The screen may blank as usual; the keep-awake timer holds it off when needed.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // SIGINT and SIGTERM close the window through a thread of ours, before SDL's video
    // starts threads of its own; SDL's handler could leave them unseen.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    quit_signals_ = std::make_unique<QuitSignals>([this] {
        std::lock_guard lock(signal_mutex_);
        quit_signalled_ = true;
        if (events_ready_) post_sdl_quit();
    });
    ok_ = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    if (!ok_) {
        quit_signals_.reset();
        return;
    }
    {
        // A signal that came while SDL started is posted now; the lock also makes SDL's
        // start visible to the signal thread.
        std::lock_guard lock(signal_mutex_);
        events_ready_ = true;
        if (quit_signalled_) post_sdl_quit();
    }
    wake_event_ = SDL_RegisterEvents(1);
    turns_ = std::make_unique<DisplayTurns>();

    const char* wanted = std::getenv("TILTOPHON_SCREEN");
    std::optional<ScreenInfo> given = wanted ? parse_screen_spec(wanted) : std::nullopt;
    if (given) {
        screen_ = *given;
        return;
    }
    if (wanted) {
        std::fprintf(stderr,
                     "tiltophon: TILTOPHON_SCREEN=\"%s\" is not a screen: give WIDTHxHEIGHT or "
                     "WIDTHxHEIGHT@DPI, sides of 1 to 4096 pixels and 24 to 1200 dpi. Using the "
                     "display's own screen.\n",
                     wanted);
    }
    LogicalScreen logical = logical_screen_for(first_display(*turns_), mode);
    screen_ = logical.screen;
    device_display_ = logical.device_display;
}

SdlWindowSystem::~SdlWindowSystem() {
    instance_.reset();
    quit_signals_.reset();
    window_.reset();
    if (ok_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool SdlWindowSystem::raise_existing(std::u16string_view, std::u16string_view) {
    instance_ = std::make_unique<PosixSingleInstance>(PosixSingleInstance::for_user("tiltophon"));
    return instance_->signal_existing_or_listen([this] { wake(kWakeRaise); });
}

Window* SdlWindowSystem::create_window(std::u16string_view, std::u16string_view title,
                                       WindowProc procedure) {
    if (!ok_) return nullptr;
    // High-DPI: on a scaled desktop the window has more pixels than points, and the
    // presenter fills them all.
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI |
                   (device_display_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE);
    // SDL leaves an earlier error in place when it fails without saying why.
    SDL_ClearError();
    SDL_Window* sdl_window =
        SDL_CreateWindow(utf8_from_utf16(title).c_str(), SDL_WINDOWPOS_CENTERED,
                         SDL_WINDOWPOS_CENTERED, screen_.width, screen_.height, flags);
    if (!sdl_window) return refuse_window("the window could not be made");
    window_ = std::make_unique<SdlWindow>(*this, sdl_window, procedure, screen_, device_display_);
    // Without a renderer the window would stay empty for good.
    if (!SDL_GetRenderer(sdl_window)) {
        refuse_window("nothing can be drawn in the window");
        window_.reset();
        return nullptr;
    }
    window_->send_message(msg::kCreate, 0, 0);
    return window_.get();
}

Window* SdlWindowSystem::refuse_window(const char* problem) {
    const char* reason = SDL_GetError();
    std::fprintf(stderr, "tiltophon: %s (%s, %s, video driver %s): %s\n", problem,
                 describe_variable("DISPLAY").c_str(), describe_variable("WAYLAND_DISPLAY").c_str(),
                 SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none",
                 reason && *reason ? reason : "SDL gives no reason");
    // A later start must not be sent to a copy that shows nothing and is ending.
    instance_.reset();
    return nullptr;
}

void SdlWindowSystem::post_sdl_quit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void SdlWindowSystem::wake(int32_t code) {
    if (!ok_) return;
    SDL_Event event{};
    event.type = wake_event_;
    event.user.code = code;
    SDL_PushEvent(&event);
}

bool SdlWindowSystem::get_message(Message& message) {
    for (;;) {
        if (quit_) {
            message = {msg::kQuit, static_cast<WParam>(exit_code_), 0};
            return false;
        }
        if (window_ && window_->take_posted(message)) return true;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (translate(event, message)) return true;
            if (window_ && window_->take_posted(message)) return true;
        }
        uint32_t now = SDL_GetTicks();
        if (window_ && window_->take_due_timer(now, message)) return true;
        if (window_ && !window_->is_destroyed() && window_->is_invalid()) {
            message = {msg::kPaint, 0, 0};
            return true;
        }

        int32_t wait = window_ ? window_->wait_for_timers(now) : -1;
        if (idle_) {
            int32_t idle_wait = idle_->expire(now);
            if (idle_wait >= 0 && (wait < 0 || idle_wait < wait)) wait = idle_wait;
        }
        if (!ok_) {
            // Without SDL nothing can arrive but timers.
            if (wait < 0) {
                message = {msg::kQuit, static_cast<WParam>(exit_code_), 0};
                return false;
            }
            continue;
        }
        bool got = wait < 0 ? SDL_WaitEvent(&event) != 0 : SDL_WaitEventTimeout(&event, wait) != 0;
        if (got && translate(event, message)) return true;
    }
}

void SdlWindowSystem::dispatch(const Message& message) {
    if (!window_) return;
    switch (message.message) {
        case msg::kPaint:
            window_->update();
            return;
        case msg::kTimer:
            window_->run_timer(static_cast<uint32_t>(message.wparam), SDL_GetTicks());
            return;
        default:
            if (window_->is_destroyed()) return;
            window_->send_message(message.message, message.wparam, message.lparam);
    }
}

void SdlWindowSystem::post_quit(int exit_code) {
    quit_ = true;
    exit_code_ = exit_code;
}

bool SdlWindowSystem::translate_pen(uint32_t kind, LParam point, Message& message) {
    message = {kind, 0, point};
    return true;
}

bool SdlWindowSystem::translate_key(const SDL_KeyboardEvent& key, Message& message) {
    const uint32_t kind = key.type == SDL_KEYDOWN ? msg::kKeyDown : msg::kKeyUp;
    if (WParam navigation = navigation_key(key.keysym.sym)) {
        LParam flags = (key.keysym.mod & KMOD_SHIFT) ? key::kShift : 0;
        if (key.repeat) flags |= key::kRepeat;
        message = {kind, navigation, flags};
        return true;
    }
    if (key.repeat) return false;
    if (key.keysym.sym == SDLK_AUDIOSTOP) {
        message = {kind, key::kStop, 0};
        return true;
    }
    SDL_Scancode code = key.keysym.scancode;
    char16_t digit = 0;
    // By place, so that layouts whose top row gives other characters still have them.
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) {
        digit = static_cast<char16_t>(u'1' + (code - SDL_SCANCODE_1));
    } else if (code == SDL_SCANCODE_0 || code == SDL_SCANCODE_KP_0) {
        digit = u'0';
    } else if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) {
        digit = static_cast<char16_t>(u'1' + (code - SDL_SCANCODE_KP_1));
    } else {
        return false;
    }
    message = {kind, digit, 0};
    return true;
}

bool SdlWindowSystem::translate_drop(const SDL_DropEvent& drop, Message& message) {
    if (!drop.file) return false;
    window_->add_dropped_file(utf16_from_utf8(drop.file));
    SDL_free(drop.file);
    message = {msg::kDropFiles, 0, 0};
    return true;
}

bool SdlWindowSystem::translate(const SDL_Event& event, Message& message) {
    if (event.type == wake_event_) {
        if (event.user.code == kWakeRaise && window_ && !window_->is_destroyed()) window_->raise();
        return false;
    }
    if (!window_ || window_->is_destroyed()) {
        if (event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) SDL_free(event.drop.file);
        return false;
    }
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return translate_key(event.key, message);
        case SDL_DROPFILE:
            return translate_drop(event.drop, message);
        case SDL_DROPTEXT:
            SDL_free(event.drop.file);
            return false;
        case SDL_QUIT:
            message = {msg::kClose, 0, 0};
            return true;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    message = {msg::kClose, 0, 0};
                    return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    message = {msg::kActivate, activate::kActive, 0};
                    return true;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    message = {msg::kActivate, activate::kInactive, 0};
                    return true;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                    // Under X11 a quarter turn of the display reaches the program as
                    // a window of the turned size.
                    turns_->forget();
                    window_->invalidate(nullptr, true);
                    return false;
                case SDL_WINDOWEVENT_EXPOSED:
                    window_->invalidate(nullptr, true);
                    return false;
            }
            return false;
        case SDL_DISPLAYEVENT:
            // The shell turned the display: the frame is shown turned back.
            turns_->forget();
            if (event.display.event == SDL_DISPLAYEVENT_ORIENTATION)
                window_->invalidate(nullptr, true);
            return false;
        // Touches also arrive as mouse events made up by SDL; only the touch counts.
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT || event.button.which == SDL_TOUCH_MOUSEID) {
                return false;
            }
            mouse_down_ = true;
            SDL_CaptureMouse(SDL_TRUE);
            return translate_pen(msg::kPenDown, window_->pen_param(event.button.x, event.button.y),
                                 message);
        case SDL_MOUSEMOTION:
            if (!mouse_down_ || event.motion.which == SDL_TOUCH_MOUSEID) return false;
            return translate_pen(msg::kPenMove, window_->pen_param(event.motion.x, event.motion.y),
                                 message);
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT || event.button.which == SDL_TOUCH_MOUSEID ||
                !mouse_down_) {
                return false;
            }
            mouse_down_ = false;
            SDL_CaptureMouse(SDL_FALSE);
            return translate_pen(msg::kPenUp, window_->pen_param(event.button.x, event.button.y),
                                 message);
        case SDL_FINGERDOWN:
            if (finger_down_) return false;
            finger_down_ = true;
            finger_ = event.tfinger.fingerId;
            return translate_pen(msg::kPenDown,
                                 window_->touch_param(event.tfinger.x, event.tfinger.y), message);
        case SDL_FINGERMOTION:
            if (!finger_down_ || event.tfinger.fingerId != finger_) return false;
            return translate_pen(msg::kPenMove,
                                 window_->touch_param(event.tfinger.x, event.tfinger.y), message);
        case SDL_FINGERUP:
            if (!finger_down_ || event.tfinger.fingerId != finger_) return false;
            finger_down_ = false;
            return translate_pen(msg::kPenUp,
                                 window_->touch_param(event.tfinger.x, event.tfinger.y), message);
    }
    return false;
}

}  // namespace tiltophon
