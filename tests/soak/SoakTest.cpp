// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Long sessions of the whole program on the headless backend, over virtual time, on
// the handset's screen and on a phone's taller one: 100,000 random pen events on every
// page and 10,000 swings read from the sensor library's entry points, shared between
// the two. The sounds and vibration pulses run on real threads, as in the
// program, their pulses timed by the virtual clock. Nothing may leak (LeakSanitizer
// checks at exit under the asan preset, where CI runs this), the live heap and the
// threads may not grow beyond a small bound once the session has warmed up, every
// thread the program starts ends, the screen tree stays sound throughout, and the
// settings saved at the end read back equal.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "motion/FakeSensor.h"
#include "motion/TempFolder.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/posix/FileRegistry.h"
#include "program/HeadlessProgram.h"
#include "program/RandomPen.h"
#include "program/ScreenTreeCheck.h"
#include "settings/Settings.h"
#include "vavurud/Button.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Panel.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count of live heap bytes (its header does not come with GCC).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace tiltophon {
namespace {

// Each session's share of them.
constexpr uint64_t kPenEvents = 50000;
constexpr int kSwings = 5000;
// Growth allowed between the end of the warm-up and the end of the session.
constexpr std::size_t kHeapGrowthBytes = 1 << 20;
constexpr int kThreadGrowth = 0;
// Longer than any vibration the program makes.
constexpr uint32_t kLongestPulseMs = 100;

std::size_t live_heap_bytes() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

int thread_count() {
    int count = 0;
    for ([[maybe_unused]] const auto& task :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

// One swing of each kind in turn, 50 ms a sample, each followed by rest. Each peaks
// above the threshold of any sensitivity and is judged once, the device held screen up.
std::vector<SampleRecord> swing_trace(int swings) {
    std::vector<SampleRecord> trace;
    for (int i = 0; i < swings; ++i) {
        const int16_t sign = (i / 3) % 2 ? -1 : 1;
        for (int16_t level : {0, 150, 1200, 1150, 0, 0}) {
            switch (i % 3) {
                case 0:
                    trace.push_back(reading(int16_t(sign * level), 0, -500));
                    break;
                case 1:
                    trace.push_back(reading(0, int16_t(sign * level), -500));
                    break;
                default:
                    trace.push_back(reading(0, 0, int16_t(-1000 - level)));
                    break;
            }
        }
    }
    trace.push_back(reading(0, 0, -1000));
    return trace;
}

struct Screen {
    const char* name;
    ScreenInfo info;
};

// The logical screens the program lays its pages out on: the desktop window, which is
// the handset's own screen, and a phone's display twice as tall as it is wide.
const Screen kScreens[] = {{"Desktop480x640", {480, 640, 192, 192}},
                           {"Phone480x960", {480, 960, 192, 192}}};

class Soak : public ::testing::TestWithParam<Screen> {
protected:
    Soak() : program(utf16_from_utf8(std::string(TILTOPHON_PROGRAM_DIR) + "/"), GetParam().info) {
        // The settings live in a real settings file.
        program.headless.services().registry = &registry;
        install_platform(program.headless.services());
        fake_sensor::install(program.headless.libraries);
    }
    // Wakes whatever still sleeps, so that a failed session ends rather than hangs.
    ~Soak() override { program.headless.clock.set_blocking_sleeps(false); }

    void tap(const Control* control) {
        program.tap(control);
        program.settle();
    }

    // Back to Home with motion detection on, the way a user gets there.
    void home_with_motion_on() {
        AppState& state = app();
        if (state.about_page->is_visible()) tap(state.back_button);
        if (state.pick_page->is_visible()) tap(state.cancel_button);
        if (!state.home_page->is_visible()) tap(state.home_tab);
        if (!state.motion_toggle->is_pressed()) tap(state.motion_toggle);
        ASSERT_TRUE(state.home_page->is_visible() && state.motion_toggle->is_pressed());
    }

    // From here on the program's threads are real; the test drives the virtual time
    // that their vibration pulses wait for.
    void run_threads_for_real() {
        program.headless.clock.set_blocking_sleeps(true);
        program.headless.threads.set_inline(false);
    }

    // Lets every pulse started so far run out and waits for the threads to end: time
    // moves on whenever every thread still running waits for it. False when threads
    // are still running after a long while.
    bool finish_threads() {
        HeadlessThreads& threads = program.headless.threads;
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (threads.running() > 0) {
            if (std::chrono::steady_clock::now() > give_up) return false;
            if (program.headless.clock.sleepers() == threads.running()) {
                program.advance(kLongestPulseMs);
            } else {
                std::this_thread::yield();
            }
        }
        threads.join_all();
        return true;
    }

    // Swings the device `swings` times; the sounds they started.
    std::size_t swing(int swings) {
        // Sounds the pen started are not the swings'.
        EXPECT_TRUE(finish_threads()) << "a thread started by the pen never ended";
        const std::size_t before = program.headless.devices.sounds().size();
        const std::vector<SampleRecord> trace = swing_trace(swings);
        fake_sensor::play(trace, program.headless.clock.tick_count_ms());
        program.advance(uint32_t(trace.size()) * 50 + 50);
        EXPECT_TRUE(finish_threads()) << "a thread started by a swing never ended";
        return program.headless.devices.sounds().size() - before;
    }

    TempFolder folder;
    FileRegistry registry{folder.file("tiltophon/registry.reg")};
    HeadlessProgram program;
};

TEST_P(Soak, ALongRandomSessionKeepsItsMemoryThreadsScreensAndSettings) {
    program.store_full_board();
    ASSERT_TRUE(program.start());
    run_threads_for_real();
    RandomPen pen(program);
    // The close button would end the session; closing is the last step of it.
    pen.avoid(app().close_button);

    std::mt19937 random(20061);
    const RandomPen::Choose choose = [&](uint32_t bound) {
        return bound == 0 ? 0u : std::uniform_int_distribution<uint32_t>(0, bound - 1)(random);
    };

    int swings = 0;
    std::size_t swing_sounds = 0;
    std::size_t heap_after_warm_up = 0;
    int threads_after_warm_up = 0;
    std::size_t heap_peak = 0;
    int threads_peak = 0;
    for (int phase = 0; pen.events() < kPenEvents || swings < kSwings; ++phase) {
        const uint64_t phase_end = pen.events() + 200;
        while (pen.events() < phase_end && pen.events() < kPenEvents) {
            ASSERT_TRUE(pen.step(choose)) << "the program ended";
            const std::string fault = screen_tree_fault();
            ASSERT_TRUE(fault.empty()) << fault << " after " << pen.events() << " pen events";
        }
        if (swings < kSwings) {
            home_with_motion_on();
            const int now = std::min(kSwings - swings, 20);
            swing_sounds += swing(now);
            swings += now;
        }
        ASSERT_TRUE(finish_threads()) << "a thread started by the pen never ended";
        // What the recorders keep is the test's, not the program's.
        program.headless.devices.clear();

        if (phase == 20) {
            heap_after_warm_up = live_heap_bytes();
            threads_after_warm_up = thread_count();
        } else if (phase > 20) {
            heap_peak = std::max(heap_peak, live_heap_bytes());
            threads_peak = std::max(threads_peak, thread_count());
        }
    }
    std::printf(
        "%llu pen events, %d swings (%zu sounds), %u s of virtual time; live heap %zu "
        "bytes after warm-up, at most %zu after; %d threads started and ended; threads %d, "
        "at most %d\n",
        static_cast<unsigned long long>(pen.events()), swings, swing_sounds,
        program.headless.clock.tick_count_ms() / 1000, heap_after_warm_up, heap_peak,
        program.headless.threads.started(), threads_after_warm_up, threads_peak);
    EXPECT_EQ(swing_sounds, std::size_t(kSwings)) << "every swing plays its slot once";
    EXPECT_LE(heap_peak, heap_after_warm_up + kHeapGrowthBytes) << "the live heap grew";
    EXPECT_LE(threads_peak, threads_after_warm_up + kThreadGrowth) << "threads were left behind";

    program.close();
    ASSERT_TRUE(program.headless_window().is_destroyed());
    const Settings& saved = *app().settings;
    Settings loaded;
    loaded.Load();
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        EXPECT_EQ(loaded.SlotFolder(slot).str(), saved.SlotFolder(slot).str()) << slot;
        EXPECT_EQ(loaded.SlotName(slot).str(), saved.SlotName(slot).str()) << slot;
    }
    EXPECT_EQ(loaded.SensitivityX, saved.SensitivityX);
    EXPECT_EQ(loaded.SensitivityY, saved.SensitivityY);
    EXPECT_EQ(loaded.SensitivityZ, saved.SensitivityZ);
    EXPECT_EQ(loaded.XButtonClose, saved.XButtonClose);
    EXPECT_EQ(loaded.AnimationsOn, saved.AnimationsOn);
    EXPECT_EQ(loaded.VibrationsOn, saved.VibrationsOn);
    EXPECT_EQ(loaded.PulseVibrationsOn, saved.PulseVibrationsOn);
}

INSTANTIATE_TEST_SUITE_P(Screens, Soak, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tiltophon
