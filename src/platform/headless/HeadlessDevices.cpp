// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/headless/HeadlessDevices.h"

namespace tiltophon {

void HeadlessDevices::play_file(std::u16string_view path) {
    std::lock_guard lock(mutex_);
    sounds_.push_back({clock_.tick_count_ms(), std::u16string(path)});
}

void HeadlessDevices::prepare(std::span<const std::u16string> paths) {
    std::lock_guard lock(mutex_);
    preparations_.push_back({clock_.tick_count_ms(), {paths.begin(), paths.end()}});
}

void HeadlessDevices::set_overlap(bool on) {
    std::lock_guard lock(mutex_);
    overlap_ = on;
}

void HeadlessDevices::stop_all() {
    std::lock_guard lock(mutex_);
    sounds_stopped_.push_back(clock_.tick_count_ms());
}

void HeadlessDevices::start_pulse(uint32_t) {
    std::lock_guard lock(mutex_);
    vibrator_.push_back({clock_.tick_count_ms(), true});
}

void HeadlessDevices::stop_pulse() {
    std::lock_guard lock(mutex_);
    vibrator_.push_back({clock_.tick_count_ms(), false});
}

void HeadlessDevices::hold(bool on) {
    std::lock_guard lock(mutex_);
    idle_holds_.push_back({clock_.tick_count_ms(), on});
}

void HeadlessDevices::reset_idle(uint32_t) {
    std::lock_guard lock(mutex_);
    idle_resets_.push_back(clock_.tick_count_ms());
}

bool HeadlessDevices::spawn(std::u16string_view program, std::u16string_view argument) {
    std::lock_guard lock(mutex_);
    launches_.push_back({std::u16string(program), std::u16string(argument)});
    return spawn_succeeds_;
}

std::vector<HeadlessDevices::SoundStarted> HeadlessDevices::sounds() const {
    std::lock_guard lock(mutex_);
    return sounds_;
}

std::vector<HeadlessDevices::Preparation> HeadlessDevices::preparations() const {
    std::lock_guard lock(mutex_);
    return preparations_;
}

std::vector<uint32_t> HeadlessDevices::sounds_stopped() const {
    std::lock_guard lock(mutex_);
    return sounds_stopped_;
}

bool HeadlessDevices::overlap() const {
    std::lock_guard lock(mutex_);
    return overlap_;
}

std::vector<HeadlessDevices::VibratorSwitch> HeadlessDevices::vibrator_switches() const {
    std::lock_guard lock(mutex_);
    return vibrator_;
}

std::vector<uint32_t> HeadlessDevices::idle_resets() const {
    std::lock_guard lock(mutex_);
    return idle_resets_;
}

std::vector<HeadlessDevices::IdleHold> HeadlessDevices::idle_holds() const {
    std::lock_guard lock(mutex_);
    return idle_holds_;
}

bool HeadlessDevices::is_program_file(std::u16string_view path) {
    std::lock_guard lock(mutex_);
    return program_files_.count(std::u16string(path)) > 0;
}

void HeadlessDevices::add_program_file(std::u16string_view path) {
    std::lock_guard lock(mutex_);
    program_files_.insert(std::u16string(path));
}

std::vector<HeadlessDevices::Launch> HeadlessDevices::launches() const {
    std::lock_guard lock(mutex_);
    return launches_;
}

void HeadlessDevices::clear() {
    std::lock_guard lock(mutex_);
    sounds_.clear();
    preparations_.clear();
    sounds_stopped_.clear();
    vibrator_.clear();
    idle_resets_.clear();
    idle_holds_.clear();
    launches_.clear();
}

void HeadlessThreads::start_detached(std::function<void()> routine) {
    ++started_;
    if (inline_) {
        routine();
        return;
    }
    std::lock_guard lock(mutex_);
    ++running_;
    threads_.emplace_back([this, routine = std::move(routine)] {
        routine();
        --running_;
    });
}

void HeadlessThreads::join_all() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        threads.swap(threads_);
    }
    for (auto& t : threads) t.join();
}

void* FakeLibraryLoader::load_library(std::string_view name) {
    auto it = libraries_.find(std::string(name));
    return it == libraries_.end() ? nullptr : &it->second;
}

void* FakeLibraryLoader::find_symbol(void* library, std::string_view name) {
    auto* symbols = static_cast<Symbols*>(library);
    auto it = symbols->find(std::string(name));
    return it == symbols->end() ? nullptr : it->second;
}

}  // namespace tiltophon
