// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound library at scale, and how soon a swing is heard.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "app/AppState.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionMessage.h"
#include "program/HeadlessPlatform.h"
#include "platform/media/WaveFile.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"

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

// Swings to the 1 MB WAV of slot 1, one at a time: each iteration times one swing
// until `heard` says its first frame has gone out, then lets everything settle.
// Reports the 50th and 99th percentiles and the worst.
template <typename Heard>
void time_swings(benchmark::State& state, HeadlessPlatform& headless, SdlSoundPlayer& player,
                 bool random_phase, Heard heard) {
    headless.threads.set_inline(false);
    headless.services().audio = &player;
    install_platform(headless.services());
    SoundBank bank;
    bank.AddEntry(u"Set", u"big.wav", GeneratedLibrary::get().big_wave(), nullptr, nullptr);
    SoundSlots slots;
    app().sound_bank = &bank;
    app().sound_slots = &slots;
    slots.entries[0] = bank.EntryAt(0);

    std::vector<double> ms;
    std::mt19937 random(3);
    for (auto _ : state) {
        if (random_phase) {
            // Swings come at any moment of the device's period.
            state.PauseTiming();
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
            state.ResumeTiming();
        }
        uint64_t begun = player.sounds_begun();
        auto start = Clock::now();
        on_motion_message(nullptr, kMotionMessage, 1, 0);
        while (!heard(begun)) std::this_thread::sleep_for(std::chrono::microseconds(50));
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1000.0);
        state.PauseTiming();
        headless.threads.join_all();
        player.wait_until_idle();
        state.ResumeTiming();
    }
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) {
        return ms[std::min(ms.size() - 1, std::size_t(q * double(ms.size())))];
    };
    state.counters["p50_ms"] = at(0.50);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = ms.back();
    state.counters["buffer_frames"] = player.device_spec().samples;
    state.counters["device_rate"] = player.device_spec().freq;
}

// A swing to the sound's first frame in the output, for a 1 MB WAV: the motion message,
// the playback thread, the request, reading and decoding the file and converting its
// start to the device's format (48 kHz stereo float, as sound servers commonly run).
// The output is pulled every 50 microseconds, so this is the time until the sound is
// ready for the device (to within that); the device's own buffer period comes on top.
void BM_MotionToFirstFrame(benchmark::State& state) {
    HeadlessPlatform headless;
    SDL_AudioSpec device{};
    device.freq = 48000;
    device.format = AUDIO_F32SYS;
    device.channels = 2;
    device.samples = SdlSoundPlayer::kBufferFrames;
    SdlSoundPlayer player(device);
    std::vector<uint8_t> buffer(std::size_t(device.samples) * 8);
    time_swings(state, headless, player, false, [&](uint64_t begun) {
        player.render(buffer.data(), int(buffer.size()));
        return player.sounds_begun() != begun;
    });
}
BENCHMARK(BM_MotionToFirstFrame)->UseManualTime()->Iterations(1000)->Unit(benchmark::kMillisecond);

// The same through an SDL output device (SDL_AUDIODRIVER, "dummy" when unset), which
// takes the first frame only at its next buffer: adds up to one buffer period.
void BM_MotionToDeviceCallback(benchmark::State& state) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    HeadlessPlatform headless;
    SdlSoundPlayer player;
    if (player.device_spec().freq == 0) {
        state.SkipWithError("no audio device");
        return;
    }
    time_swings(state, headless, player, true,
                [&](uint64_t begun) { return player.sounds_begun() != begun; });
}
BENCHMARK(BM_MotionToDeviceCallback)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tiltophon
