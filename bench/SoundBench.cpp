// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound library at scale, and how soon a swing is heard.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "Allocations.h"
#include "SwingTiming.h"
#include "app/AppState.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionMessage.h"
#include "platform/media/WaveFile.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/sdl/SdlDevices.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "platform/sdl/SdlSoundRecorder.h"
#include "program/HeadlessPlatform.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "support/OneSlotProgram.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A library of 10,000 small WAV files in 200 sets, made once per run and removed at exit.
class GeneratedLibrary {
public:
    static GeneratedLibrary& get() {
        static GeneratedLibrary library;
        return library;
    }

    std::u16string sounds_folder() const { return utf16_from_utf8(root_.string() + "/Sounds/"); }
    std::u16string big_wave() const { return utf16_from_utf8((root_ / "big.wav").string()); }

    ~GeneratedLibrary() {
        std::error_code error;
        fs::remove_all(root_, error);
    }

private:
    GeneratedLibrary()
        : root_(fs::temp_directory_path() / ("tiltophon-bench-" + std::to_string(::getpid()))) {
        std::vector<uint8_t> tiny = encode_wave_s16(std::vector<float>(16, 0.1f), 44100);
        std::mt19937 random(1);
        std::string error;
        for (int set = 0; set < 200; ++set) {
            // Mixed letter case, so that the sort has to fold it.
            std::string name =
                (random() % 2 ? "Set" : "set") + std::to_string(1000 + random() % 900);
            name += "-" + std::to_string(set);
            fs::path folder = root_ / "Sounds" / name;
            fs::create_directories(folder);
            for (int sound = 0; sound < 50; ++sound) {
                write_or_die((folder / ("Sound" + std::to_string(sound) + ".wav")).string(), tiny);
            }
        }
        // About 1 MB: twelve seconds of 16-bit mono at 44.1 kHz.
        std::vector<float> tone(524288);
        for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = float(0.5 * std::sin(i * 0.0627));
        write_or_die((root_ / "big.wav").string(), encode_wave_s16(tone, 44100));
    }

    static void write_or_die(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::string error;
        if (!write_file(path, bytes, error)) {
            std::fprintf(stderr, "SoundBench: %s\n", error.c_str());
            std::exit(1);
        }
    }

    fs::path root_;
};

// The headless platform with the real file system.
struct PlatformWithFiles {
    PlatformWithFiles() {
        headless.services().files = &files;
        install_platform(headless.services());
    }
    HeadlessPlatform headless;
    PosixFileSystem files;
};

void BM_ScanAndSortLibrary(benchmark::State& state) {
    std::u16string sounds_folder = GeneratedLibrary::get().sounds_folder();
    PlatformWithFiles platform;
    SoundBank bank;
    for (auto _ : state) {
        bank.Scan(sounds_folder);
        bank.Sort(FolderAscending);
    }
    state.counters["entries"] = bank.Count();
}
BENCHMARK(BM_ScanAndSortLibrary)->Unit(benchmark::kMillisecond);

// Sorting 10,000 entries (200 folders of 50) that arrive in directory order.
void BM_SortLibrary(benchmark::State& state) {
    PlatformWithFiles platform;
    SoundBank scanned;
    scanned.Scan(GeneratedLibrary::get().sounds_folder());
    auto order = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        SoundBank bank;
        for (int32_t i = 0; i < scanned.Count(); ++i) {
            const SoundEntry* e = scanned.EntryAt(i);
            bank.AddEntry(e->FolderName, e->FileName, e->FilePath, e->BigImage, e->SmallImage);
        }
        state.ResumeTiming();
        bank.Sort(order);
        benchmark::DoNotOptimize(bank.EntryAt(0));
    }
}
BENCHMARK(BM_SortLibrary)
    ->Arg(FolderAscending)
    ->Arg(FolderDescending)
    ->Arg(FileAscending)
    ->Arg(FileDescending)
    ->Unit(benchmark::kMillisecond);

// Takes of the default microphone, one after another on a thread of their own, as
// the pick screen's threads open and close it, until this goes.
class TakesAlongside {
public:
    explicit TakesAlongside(bool on) {
        if (!on) return;
        thread_ = std::thread([this] {
            while (!stop_) {
                if (!recorder_.start_take()) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                recorder_.end_take();
                ++count_;
            }
        });
    }
    ~TakesAlongside() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int count() const { return count_; }

private:
    SdlSoundRecorder recorder_;
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    std::thread thread_;
};

// A swing to slot 1's sound, a 1 MB WAV (twelve seconds), through everything the
// program uses: the motion message posted to the main window and dispatched by its
// message loop, the playback routine on the thread runner's pool, the real player on
// an SDL output device (SDL_AUDIODRIVER, "dummy" when unset) and its audio callback.
// Each iteration starts at a random moment of the device's period and times two
// things, reported as percentiles in milliseconds:
//   handed_*  until the sound is the output's current sound: the program's share;
//   first_*   until the device's callback has copied the sound's first frame, which
//             adds the wait for the device's next period (buffer_ms).
// Arguments: whether the slots' sounds are prepared (1, as the program does) or
// decoded on request (0); how many busy processes run alongside; whether takes of the
// microphone start and stop all the while (a take of 300 ms after another, on the
// same driver's capture device).
void BM_SwingToFirstFrame(benchmark::State& state) {
    const bool prepared = state.range(0) != 0;
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    SdlSoundPlayer player;
    TakesAlongside takes(state.range(2) != 0);
    SdlThreadRunner threads;
    const SDL_AudioSpec device = player.device_spec();
    if (device.freq == 0) {
        state.SkipWithError("no audio device");
        return;
    }
    OneSlotProgram program(player, threads, GeneratedLibrary::get().big_wave(), prepared);
    Window* window = program.window;

    BusyProcesses busy(int(state.range(1)));
    std::vector<double> handed, first;
    long swing_allocations = 0;
    std::mt19937 random(3);
    const auto period = std::chrono::microseconds(int64_t(device.samples) * 1000000 / device.freq);
    for (auto _ : state) {
        state.PauseTiming();
        // Swings come at any moment of the device's period.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % period.count()));
        uint64_t begun = player.sounds_begun();
        state.ResumeTiming();
        int64_t start =
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
                .count();
        window->post_message(kMotionMessage, 1, 0);
        long allocations = allocations_so_far();
        program.headless.windows.pump();
        while (player.last_handed_over_ns() < start)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        swing_allocations += allocations_so_far() - allocations;
        while (player.sounds_begun() == begun)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        double first_ms = double(player.last_begun_ns() - start) / 1e6;
        state.SetIterationTime(first_ms / 1000.0);
        first.push_back(first_ms);
        handed.push_back(double(player.last_handed_over_ns() - start) / 1e6);
        state.PauseTiming();
        player.wait_until_idle();
        state.ResumeTiming();
    }
    Percentiles h = percentiles(handed), f = percentiles(first);
    state.counters["handed_p50_ms"] = h.p50;
    state.counters["handed_p99_ms"] = h.p99;
    state.counters["handed_max_ms"] = h.max;
    state.counters["first_p50_ms"] = f.p50;
    state.counters["first_p99_ms"] = f.p99;
    state.counters["first_max_ms"] = f.max;
    state.counters["buffer_ms"] = double(device.samples) * 1000.0 / device.freq;
    state.counters["busy_processes"] = busy.running();
    state.counters["takes"] = double(takes.count());
    state.counters["played_ready"] = double(player.sounds_played_ready());
    // From the message loop's dispatch until the sound is the output's, on every thread.
    state.counters["allocations_per_swing"] =
        double(swing_allocations) / double(state.iterations());
}
BENCHMARK(BM_SwingToFirstFrame)
    ->ArgNames({"prepared", "busy", "recording"})
    ->Args({1, 0, 0})
    ->Args({1, 2, 0})
    ->Args({0, 0, 0})
    ->Args({0, 2, 0})
    ->Args({1, 0, 1})
    ->Args({1, 2, 1})
    ->UseManualTime()
    ->Iterations(400)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tiltophon
