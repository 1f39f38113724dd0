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

SdlIdleControl::~SdlIdleControl() {
    if (holding_) SDL_EnableScreenSaver();
}

void SdlIdleControl::reset_idle(uint32_t hold_ms) {
    if (!holding_) SDL_DisableScreenSaver();
    holding_ = true;
    until_ = SDL_GetTicks() + hold_ms + kSlackMs;
}

int32_t SdlIdleControl::expire(uint32_t now) {
    if (!holding_) return -1;
    int32_t left = static_cast<int32_t>(until_ - now);
    if (left > 0) return left;
    holding_ = false;
    SDL_EnableScreenSaver();
    return -1;
}

void SdlThreadRunner::start_detached(std::function<void()> routine) {
    std::thread(std::move(routine)).detach();
}

}  // namespace tiltophon
