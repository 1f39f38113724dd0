// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/KeepAwakeTimer.h"

#include "app/AppState.h"
#include "platform/Platform.h"
#include "settings/RegistryAccess.h"

namespace tiltophon {

namespace {

constexpr std::u16string_view kPowerKey = u"\\System\\CurrentControlSet\\Control\\Power";
constexpr uint32_t kLongestTimeoutS = 1000;

// A value that cannot be read counts as 0, which never lowers the timeout.
uint32_t read_timeout(std::u16string_view name) {
    uint32_t value = 0;
    ReadRegistryDword(RegistryRoot::kLocalMachine, kPowerKey, name, &value, 0);
    return value;
}

}  // namespace

KeepAwakeTimer::KeepAwakeTimer(Window* window, uint32_t timer_id, TimerRoutine tick_routine)
    : window_(window), timer_id_(timer_id), tick_routine_(tick_routine) {}

uint32_t KeepAwakeTimer::power_off_interval() const {
    uint32_t t = kLongestTimeoutS;
    uint32_t battery = read_timeout(u"BattPowerOff");
    if (battery > 0 && battery <= kLongestTimeoutS) t = battery;
    uint32_t external = read_timeout(u"ExtPowerOff");
    if (external > 0 && external <= t) t = external;
    uint32_t screen = read_timeout(u"ScreenPowerOff");
    if (screen > 0 && screen <= t) t = screen;
    return t * 900;
}

void KeepAwakeTimer::start() {
    if (running_) return;
    interval_ms_ = power_off_interval();
    if (interval_ms_ == 0) return;
    running_ = true;
    if (window_) window_->set_timer(timer_id_, interval_ms_, tick_routine_);
    // The first tick comes only after a whole interval, later than many systems
    // blank the screen; the system is held awake from the start instead.
    if (IdleControl* idle = platform().idle) idle->hold(true);
}

void KeepAwakeTimer::stop() {
    if (!running_) return;
    if (window_) window_->kill_timer(timer_id_);
    running_ = false;
    if (IdleControl* idle = platform().idle) idle->hold(false);
}

void KeepAwakeTimer::on_tick() {
    if (!running_) return;
    if (IdleControl* idle = platform().idle) idle->reset_idle(interval_ms_);
}

void keep_awake_tick(Window*, uint32_t) {
    if (KeepAwakeTimer* timer = app().keep_awake) timer->on_tick();
}

}  // namespace tiltophon
