// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How soon a swing is heard through the sound server that Linux desktops and phones
// run: PipeWire with its PulseAudio service, headless, playing into a null sink whose
// monitor is recorded.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "SwingTiming.h"
#include "e2e/SoundServer.h"
#include "motion/TempFolder.h"
#include "platform/media/WaveFile.h"
#include "platform/sdl/SdlDevices.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "support/OneSlotProgram.h"

namespace tiltophon {
namespace {

using Clock = std::chrono::steady_clock;

int64_t steady_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// Sets environment variables (a null value removes one) for the life of the object.
class ScopedEnvironment {
public:
    void set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        if (value) {
            ::setenv(name.c_str(), value, 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Records the null sink's monitor (parec, 16-bit mono at 48 kHz, 5 ms asked for) and
// dates the first loud sample after `listen`: the block it arrives in came at time T
// and ends n samples after it, so it was played at T - n / 48 kHz. What is left is
// the monitor's own way to the recorder, which the figure includes.
class MonitorListener {
public:
    explicit MonitorListener(const std::vector<std::string>& env) {
        int pipe_ends[2];
        if (::pipe2(pipe_ends, O_CLOEXEC) != 0) return;
        recorder_ =
            spawn({"parec", "--latency-msec=5", "--format=s16le", "--channels=1", "--rate=48000",
                   std::string("--device=") + e2e::SoundServer::kSink + ".monitor"},
                  env, pipe_ends[1]);
        ::close(pipe_ends[1]);
        fd_ = pipe_ends[0];
        if (recorder_ > 0) reader_ = std::thread(&MonitorListener::read_loop, this);
    }
    ~MonitorListener() {
        if (recorder_ > 0) {
            ::kill(recorder_, SIGTERM);
            ::waitpid(recorder_, nullptr, 0);
        }
        if (reader_.joinable()) reader_.join();
        if (fd_ >= 0) ::close(fd_);
    }
    bool recording() const { return recorder_ > 0; }

    void listen() {
        heard_ns_.store(0);
        listening_.store(true);
    }
    // When the first loud sample since `listen` was played; 0 while none was.
    int64_t heard_ns() const { return heard_ns_.load(); }

private:
    void read_loop() {
        uint8_t block[512];
        std::size_t carried = 0;  // a byte of a sample split between two reads
        for (;;) {
            ssize_t got = ::read(fd_, block + carried, sizeof block - carried);
            if (got <= 0) return;
            const int64_t now = steady_ns();
            const std::size_t bytes = carried + std::size_t(got);
            const std::size_t samples = bytes / 2;
            for (std::size_t i = 0; i < samples && listening_.load(); ++i) {
                const int value = int16_t(block[2 * i] | (block[2 * i + 1] << 8));
                if (value > 8000 || value < -8000) {
                    heard_ns_.store(now - int64_t(samples - i) * 1000000000 / 48000);
                    listening_.store(false);
                }
            }
            carried = bytes % 2;
            if (carried) block[0] = block[bytes - 1];
        }
    }

    pid_t recorder_ = 0;
    int fd_ = -1;
    std::thread reader_;
    std::atomic<bool> listening_{false};
    std::atomic<int64_t> heard_ns_{0};
};

// The graph's quantum in force, as pw-top shows it for the null sink, which drives the
// graph; 0 when unknown. The terminal is wide enough for every row to come whole.
int quantum_in_force(const std::vector<std::string>& env) {
    std::string command =
        "COLUMNS=200 LINES=40 TERM=xterm timeout 3 script -qc pw-top /dev/null 2>/dev/null";
    std::vector<std::string> variables = env;
    ScopedEnvironment scoped;
    for (const std::string& variable : variables) {
        auto equals = variable.find('=');
        scoped.set(variable.substr(0, equals), variable.c_str() + equals + 1);
    }
    FILE* top = ::popen(command.c_str(), "r");
    if (!top) return 0;
    std::string text;
    char chunk[4096];
    while (std::size_t got = std::fread(chunk, 1, sizeof chunk, top)) text.append(chunk, got);
    ::pclose(top);
    // Every escape sequence (pw-top places its rows with them) ends a line.
    text = std::regex_replace(text, std::regex("\x1b(\\[[0-9;?]*[A-Za-z]|\\([A-Za-z0-9])"), "\n");
    // "R   44    256  48000 ... tiltophon_test": the node's id, quantum and rate.
    const std::regex sink_row("^\\w\\s+\\d+\\s+(\\d+)\\s+\\d+\\s.*" +
                              std::string(e2e::SoundServer::kSink) + "\\s*$");
    std::stringstream lines(text);
    int quantum = 0;
    std::smatch row;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, row, sink_row)) quantum = std::stoi(row[1]);
    }
    return quantum;
}

// A swing to slot 1's sound, a tenth of a second of a loud level, prepared as the
// program prepares the slots' sounds, through the whole way to the listener: the
// motion message posted to the main window and dispatched, the playback routine on
// the thread runner's pool, the real player on SDL's default output (the server's
// PulseAudio service), the server's graph, the null sink and its monitor. Each
// iteration starts at a random moment of the device's period and times the posted
// message until the sound's first samples are on the monitor: heard_* in
// milliseconds. quantum is the graph's period in frames at quantum_rate, sdl_frames
// the buffer the player asked SDL for, at device_rate. Argument: busy processes
// running alongside.
void BM_SwingThroughSoundServer(benchmark::State& state) {
    TempFolder folder;
    e2e::SoundServer server(folder.path() / "server");
    if (!server.start(48000, 2)) {
        state.SkipWithError("the sound server did not start");
        return;
    }
    ScopedEnvironment environment;
    const std::vector<std::string> client = server.client_env({});
    for (const std::string& variable : client) {
        auto equals = variable.find('=');
        environment.set(variable.substr(0, equals), variable.c_str() + equals + 1);
    }
    environment.set("SDL_AUDIODRIVER", nullptr);
    environment.set("PULSE_SERVER", nullptr);

    std::string error;
    const std::string wave = folder.file("tone.wav");
    write_file(wave, encode_wave_s16(std::vector<float>(4410, 0.5f), 44100), error);
    SdlSoundPlayer player;
    SdlThreadRunner threads;
    const SDL_AudioSpec device = player.device_spec();
    if (device.freq == 0) {
        state.SkipWithError("no output on the sound server");
        return;
    }
    OneSlotProgram program(player, threads, utf16_from_utf8(wave));
    Window* window = program.window;

    const std::vector<std::string> listener_env = server.client_env(environment_without({}));
    MonitorListener listener(listener_env);
    const int quantum = quantum_in_force(listener_env);
    BusyProcesses busy(int(state.range(0)));
    std::mt19937 random(5);
    std::vector<double> heard;
    const auto period = std::chrono::microseconds(int64_t(device.samples) * 1000000 / device.freq);
    for (auto _ : state) {
        // The tone before has ended, and swings come at any moment of the period.
        std::this_thread::sleep_for(std::chrono::milliseconds(150) +
                                    std::chrono::microseconds(random() % period.count()));
        listener.listen();
        const int64_t start = steady_ns();
        window->post_message(kMotionMessage, 1, 0);
        program.headless.windows.pump();
        const auto give_up = Clock::now() + std::chrono::seconds(2);
        while (listener.heard_ns() == 0 && Clock::now() < give_up) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (listener.heard_ns() == 0) {
            state.SkipWithError("a swing was not heard on the monitor within 2 s");
            break;
        }
        const double ms = double(listener.heard_ns() - start) / 1e6;
        state.SetIterationTime(ms / 1000.0);
        heard.push_back(ms);
    }
    Percentiles h = percentiles(heard);
    state.counters["heard_p50_ms"] = h.p50;
    state.counters["heard_p99_ms"] = h.p99;
    state.counters["heard_max_ms"] = h.max;
    state.counters["quantum"] = quantum;
    state.counters["quantum_rate"] = 48000;
    state.counters["sdl_frames"] = device.samples;
    state.counters["device_rate"] = device.freq;
    state.counters["busy_processes"] = busy.running();
}
BENCHMARK(BM_SwingThroughSoundServer)
    ->ArgNames({"busy"})
    ->Arg(0)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tiltophon
