// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <map>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Devices.h"
#include "platform/Process.h"
#include "platform/headless/HeadlessClock.h"

namespace tiltophon {

// Records what the program asked of the devices, with the virtual time of each request.
class HeadlessDevices : public SoundPlayer, public Vibrator, public IdleControl,
                        public ProcessLauncher {
public:
    explicit HeadlessDevices(Clock& clock) : clock_(clock) {}

    struct SoundStarted {
        uint32_t at_ms;
        std::u16string path;
    };
    // The files the program asked the player to keep ready, in one `prepare` call.
    struct Preparation {
        uint32_t at_ms;
        std::vector<std::u16string> paths;
    };
    struct VibratorSwitch {
        uint32_t at_ms;
        bool on;
    };
    struct IdleHold {
        uint32_t at_ms;
        bool on;
    };
    struct Launch {
        std::u16string program;
        std::u16string argument;
    };

    void play_file(std::u16string_view path) override;
    void prepare(std::span<const std::u16string> paths) override;
    void set_overlap(bool on) override;
    void stop_all() override;
    void start_pulse(uint32_t duration_ms) override;
    void stop_pulse() override;
    void hold(bool on) override;
    void reset_idle(uint32_t hold_ms) override;
    bool spawn(std::u16string_view program, std::u16string_view argument) override;
    bool is_program_file(std::u16string_view path) override;

    void set_spawn_succeeds(bool succeeds) { spawn_succeeds_ = succeeds; }
    // A path that `is_program_file` then knows as a program.
    void add_program_file(std::u16string_view path);

    std::vector<SoundStarted> sounds() const;
    std::vector<Preparation> preparations() const;
    // When every sound was ended at once.
    std::vector<uint32_t> sounds_stopped() const;
    bool overlap() const;
    std::vector<VibratorSwitch> vibrator_switches() const;
    std::vector<uint32_t> idle_resets() const;
    std::vector<IdleHold> idle_holds() const;
    std::vector<Launch> launches() const;
    void clear();

private:
    Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<SoundStarted> sounds_;
    std::vector<Preparation> preparations_;
    std::vector<uint32_t> sounds_stopped_;
    bool overlap_ = false;
    std::vector<VibratorSwitch> vibrator_;
    std::vector<uint32_t> idle_resets_;
    std::vector<IdleHold> idle_holds_;
    std::vector<Launch> launches_;
    std::set<std::u16string> program_files_;
    bool spawn_succeeds_ = true;
};

// Runs the program's threads. Inline mode runs each routine at once on the caller,
// which keeps single-threaded tests deterministic; otherwise real threads are
// started and `join_all` waits for them.
class HeadlessThreads : public ThreadRunner {
public:
    explicit HeadlessThreads(bool inline_mode = true) : inline_(inline_mode) {}
    ~HeadlessThreads() override { join_all(); }

    void start_detached(std::function<void()> routine) override;
    void join_all();
    void set_inline(bool inline_mode) { inline_ = inline_mode; }
    int started() const { return started_; }
    // Threads started and not yet ended (always 0 inline).
    int running() const { return running_.load(); }

private:
    bool inline_;
    int started_ = 0;
    std::atomic<int> running_{0};
    std::mutex mutex_;
    std::vector<std::thread> threads_;
};

// A library loader whose libraries are tables of functions registered by the test.
class FakeLibraryLoader : public LibraryLoader {
public:
    using Symbols = std::map<std::string, void*>;
    void add_library(const std::string& name, Symbols symbols) { libraries_[name] = std::move(symbols); }

    void* load_library(std::string_view name) override;
    void* find_symbol(void* library, std::string_view name) override;

private:
    std::map<std::string, Symbols> libraries_;
};

}  // namespace tiltophon
