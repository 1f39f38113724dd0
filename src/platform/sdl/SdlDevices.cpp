// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlDevices.h"

#include <thread>

namespace tiltophon {

SdlVibrator::SdlVibrator() {
    if (SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0) {
        for (int i = 0; i < SDL_NumHaptics() && !haptic_; ++i) {
            haptic_ = SDL_HapticOpen(i);
            if (haptic_ && SDL_HapticRumbleInit(haptic_) != 0) {
                SDL_HapticClose(haptic_);
                haptic_ = nullptr;
            }
        }
    }
    if (!haptic_) sysfs_ = SysfsVibrator::find();
}

SdlVibrator::~SdlVibrator() {
    if (haptic_) {
        SDL_HapticRumbleStop(haptic_);
        SDL_HapticClose(haptic_);
    }
    SDL_QuitSubSystem(SDL_INIT_HAPTIC);
}

void SdlVibrator::set_vibrating(bool on) {
    std::lock_guard lock(mutex_);
    if (haptic_) {
        if (on) {
            SDL_HapticRumblePlay(haptic_, 1.0f, kRumbleMs);
        } else {
            SDL_HapticRumbleStop(haptic_);
        }
    } else if (sysfs_) {
        sysfs_->set_vibrating(on);
    }
}

SdlIdleControl::SdlIdleControl() {
    // What the session's screen-saver service lists as holding the screen on.
    SDL_SetHint(SDL_HINT_APP_NAME, "Tiltophon");
    SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, "Tiltophon: motion detection is on");
}

SdlIdleControl::~SdlIdleControl() {
    held_ = false;
    timed_ = false;
    apply();
}

void SdlIdleControl::hold(bool on) {
    held_ = on;
    // Letting go ends a reset's hold too, so the screen may blank at once.
    timed_ = false;
    apply();
}

void SdlIdleControl::reset_idle(uint32_t hold_ms) {
    if (held_) return;
    timed_ = true;
    until_ = SDL_GetTicks() + hold_ms + kSlackMs;
    apply();
}

int32_t SdlIdleControl::expire(uint32_t now) {
    if (!timed_) return -1;
    int32_t left = static_cast<int32_t>(until_ - now);
    if (left > 0) return left;
    timed_ = false;
    apply();
    return -1;
}

void SdlIdleControl::apply() {
    bool wanted = held_ || timed_;
    if (wanted == inhibited_) return;
    inhibited_ = wanted;
    if (wanted) {
        SDL_DisableScreenSaver();
    } else {
        SDL_EnableScreenSaver();
    }
}

void SdlThreadRunner::start_detached(std::function<void()> routine) {
    std::thread(std::move(routine)).detach();
}

}  // namespace tiltophon
