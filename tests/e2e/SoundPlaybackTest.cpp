// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The motion dispatch and the real audio back end together: SDL's disk driver writes
// what the device plays to a file, in which the test looks for the sounds.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#include "app/AppState.h"
#include "motion/MotionDetector.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionMessage.h"
#include "motion/MotionPolling.h"
#include "motion/MotionSetup.h"
#include "motion/Sensitivity.h"
#include "motion/SensorBinding.h"
#include "motion/TempFolder.h"
#include "platform/Platform.h"
#include "program/HeadlessPlatform.h"
#include "platform/media/WaveFile.h"
#include "platform/posix/DlLibraryLoader.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;

class JoiningThreads : public ThreadRunner {
public:
    ~JoiningThreads() override {
        for (auto& t : threads_) t.join();
    }
    void start_detached(std::function<void()> routine) override {
        std::lock_guard lock(mutex_);
        threads_.emplace_back(std::move(routine));
    }

private:
    std::mutex mutex_;
    std::vector<std::thread> threads_;
};

// The real player and files with threads that are joined before the player goes,
// installed as the platform for the life of the object.
struct RealSoundPlatform {
    RealSoundPlatform() {
        services.files = &files;
        services.audio = &player;
        services.threads = &threads;
        install_platform(services);
        reset_app();
    }
    ~RealSoundPlatform() {
        install_platform({});
        reset_app();
    }
    SdlSoundPlayer player;
    JoiningThreads threads;
    PosixFileSystem files;
    Platform services;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_) {
            ::setenv(name_, old_.c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// What the device wrote, as the first channel of 16-bit frames, read until
// `enough` says so (or ten seconds pass).
std::vector<int16_t> wait_for_output(
    const fs::path& file, int channels,
    const std::function<bool(const std::vector<int16_t>&)>& enough) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<int16_t> frames;
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        frames.clear();
        std::size_t frame_bytes = 2 * std::size_t(channels);
        for (std::size_t i = 0; i + frame_bytes <= bytes.size(); i += frame_bytes) {
            int16_t v;
            std::memcpy(&v, bytes.data() + i, 2);
            frames.push_back(v);
        }
        if (enough(frames)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return frames;
}

struct OutputRun {
    char kind;  // 'A', 'B' or '.' for silence
    std::size_t length;
};

std::vector<OutputRun> runs(const std::vector<int16_t>& frames) {
    std::vector<OutputRun> out;
    for (int16_t v : frames) {
        char kind = v > 10000 ? 'A' : v < -10000 ? 'B' : std::abs(v) < 100 ? '.' : '?';
        if (out.empty() || out.back().kind != kind) out.push_back({kind, 0});
        ++out.back().length;
    }
    return out;
}

std::size_t count(const std::vector<int16_t>& frames, char kind) {
    std::size_t n = 0;
    for (const OutputRun& run : runs(frames)) n += run.kind == kind ? run.length : 0;
    return n;
}

TEST(SoundPlaybackThreads, SwingsPlayTheirSlotsThroughTheAudioDevice) {
    TempFolder temp;
    const fs::path& folder = temp.path();
    fs::create_directories(folder / "Set");
    std::string error;
    ASSERT_TRUE(write_file((folder / "Set/A.wav").string(),
                           encode_wave_s16(std::vector<float>(44100, 0.4f), 44100), error))
        << error;
    ASSERT_TRUE(write_file((folder / "Set/B.wav").string(),
                           encode_wave_s16(std::vector<float>(13230, -0.4f), 44100), error))
        << error;
    fs::path output = folder / "device.raw";

    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output.string());
    {
        RealSoundPlatform real;
        SdlSoundPlayer& player = real.player;
        ASSERT_NE(player.device_spec().freq, 0) << "SDL's disk audio driver is not available";
        ASSERT_EQ(SDL_AUDIO_BITSIZE(player.device_spec().format), 16);
        int channels = player.device_spec().channels;

        SoundBank bank;
        bank.Scan(utf16_from_utf8(folder.string() + "/"));
        SoundSlots slots;
        app().sound_bank = &bank;
        app().sound_slots = &slots;
        AssignSavedSlots({u"Set", u"", u"Set"}, {u"A.wav", u"", u"B.wav"});
        ASSERT_NE(slots.Entry(1), nullptr);
        ASSERT_NE(slots.Entry(3), nullptr);

        // A swing to Y negative plays slot 1; 100 ms of it later, Y positive plays slot 3.
        on_motion_message(nullptr, kMotionMessage, 1, 0);
        wait_for_output(output, channels, [](auto& f) { return count(f, 'A') >= 4410; });
        on_motion_message(nullptr, kMotionMessage, 2, 0);
        auto heard = wait_for_output(output, channels, [](auto& f) {
            auto r = runs(f);
            return r.size() >= 2 && r[r.size() - 2].kind == 'B' && r.back().kind == '.' &&
                   r.back().length > 4410;
        });
        // An empty slot: nothing more is played.
        uint64_t begun = player.sounds_begun();
        on_motion_message(nullptr, kMotionMessage, 5, 0);
        std::size_t before = heard.size();
        heard =
            wait_for_output(output, channels, [&](auto& f) { return f.size() > before + 8820; });

        std::vector<OutputRun> r = runs(heard);
        ASSERT_GE(r.size(), 3u);
        if (r.front().kind == '.') r.erase(r.begin());
        ASSERT_EQ(r.size(), 3u) << "expected the first sound, the second, then silence";
        EXPECT_EQ(r[0].kind, 'A');
        EXPECT_GE(r[0].length, 4410u);
        EXPECT_LT(r[0].length, 44100u) << "the second sound should cut the first short";
        EXPECT_EQ(r[1].kind, 'B');
        EXPECT_NEAR(double(r[1].length), 13230.0, 2.0);
        EXPECT_EQ(r[2].kind, '.');
        EXPECT_EQ(player.sounds_begun(), begun);
    }
}

// A FLAC sound in a slot: the player decodes it ahead in the device's format, and a
// swing hands it to the device ready-made.
TEST(SoundPlaybackThreads, APreparedFlacSlotPlaysThroughTheAudioDevice) {
    TempFolder temp;
    const fs::path& folder = temp.path();
    fs::create_directories(folder / "Set");
    std::string flac = (folder / "Set/A.flac").string();
    {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 1;
        info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(flac.c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        std::vector<float> level(22050, 0.4f);
        ASSERT_EQ(sf_writef_float(file, level.data(), sf_count_t(level.size())), 22050);
        ASSERT_EQ(sf_close(file), 0);
    }
    fs::path output = folder / "device.raw";

    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output.string());
    {
        RealSoundPlatform real;
        SdlSoundPlayer& player = real.player;
        const SDL_AudioSpec device = player.device_spec();
        ASSERT_NE(device.freq, 0) << "SDL's disk audio driver is not available";
        ASSERT_EQ(SDL_AUDIO_BITSIZE(device.format), 16);

        SoundBank bank;
        bank.AddEntry(u"Set", u"A.flac", utf16_from_utf8(flac), nullptr, nullptr);
        SoundSlots slots;
        app().sound_bank = &bank;
        app().sound_slots = &slots;
        AssignSavedSlots({u"Set"}, {u"A.flac"});
        ASSERT_NE(slots.Entry(1), nullptr);
        player.wait_until_idle();
        EXPECT_TRUE(player.is_ready(utf16_from_utf8(flac)));

        on_motion_message(nullptr, kMotionMessage, 1, 0);
        auto heard = wait_for_output(output, device.channels, [](auto& f) {
            auto r = runs(f);
            return r.size() >= 2 && r[r.size() - 2].kind == 'A' && r.back().kind == '.' &&
                   r.back().length > 4410;
        });
        EXPECT_NEAR(double(count(heard, 'A')), 22050.0 * device.freq / 44100.0, 8.0);
        EXPECT_EQ(player.sounds_played_ready(), 1u);
    }
}

LResult motion_window_proc(Window* window, uint32_t message, WParam first, LParam second) {
    if (message == kMotionMessage) return on_motion_message(window, message, first, second);
    return window->default_proc(message, first, second);
}

// From the sensor to the speaker: the built sensor library replays a recorded swing to
// the right, the X detector judges it on its 50 ms timer, and the slot it belongs to
// (slot 2) comes out of the audio device.
TEST(SoundPlaybackThreads, AReplayedSwingPlaysItsSlotThroughTheAudioDevice) {
    TempFolder temp;
    const fs::path& folder = temp.path();
    fs::create_directories(folder / "Set");
    std::string error;
    ASSERT_TRUE(write_file((folder / "Set/A.wav").string(),
                           encode_wave_s16(std::vector<float>(22050, 0.4f), 44100), error))
        << error;
    std::string trace = temp.write("swing.txt",
                                   "0 0 -1000\n0 0 -1000\n300 0 -1000\n900 0 -1000\n"
                                   "800 0 -1000\n50 0 -1000\n0 0 -1000\n");
    fs::path output = folder / "device.raw";

    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output.string());
    ScopedEnv sensor("TILTOPHON_SENSOR", "replay:" + trace);
    // One line per timer period: each of the three detectors reads once a period.
    ScopedEnv pace("TILTOPHON_SENSOR_PACE", "reads:3");
    {
        SdlSoundPlayer player;
        JoiningThreads threads;
        ASSERT_NE(player.device_spec().freq, 0) << "SDL's disk audio driver is not available";
        int channels = player.device_spec().channels;
        // Virtual time drives the detectors' timers; the sensor library, the files and
        // the audio device are the real ones.
        HeadlessPlatform headless;
        PosixFileSystem files;
        DlLibraryLoader libraries(TILTOPHON_PROGRAM_DIR);
        Platform& services = headless.services();
        services.files = &files;
        services.audio = &player;
        services.threads = &threads;
        services.libraries = &libraries;
        install_platform(services);
        app().main_window =
            headless.windows.create_window(u"TiltophonClass", u"Tiltophon", motion_window_proc);

        SoundBank bank;
        bank.Scan(utf16_from_utf8(folder.string() + "/"));
        SoundSlots slots;
        app().sound_bank = &bank;
        app().sound_slots = &slots;
        AssignSavedSlots({u"", u"Set"}, {u"", u"A.wav"});
        ASSERT_EQ(init_sensor_binding(), 1);
        create_motion_detectors();
        for (MotionDetector* detector : {app().detector_x, app().detector_y, app().detector_z}) {
            apply_sensitivity(*detector, 5);
        }

        start_motion();
        headless.windows.advance(400);
        stop_motion();
        auto heard =
            wait_for_output(output, channels, [](auto& f) { return count(f, 'A') >= 22000; });
        EXPECT_GE(count(heard, 'A'), 22000u) << "the swing did not play slot 2's sound";
        EXPECT_EQ(player.sounds_begun(), 1u) << "one swing, one sound";
        app().sensor->close();
    }
}

}  // namespace
}  // namespace tiltophon
