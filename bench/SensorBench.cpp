// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What one read of the sensor library costs with a game controller: the events of one
// report taken from the device and turned into a reading; and the look for devices
// that a source without one makes once a second, among 30 input devices.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <linux/input.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sensor/EvdevDevice.h"
#include "sensor/InputDevices.h"

namespace tiltophon::sensor {
namespace {

namespace fs = std::filesystem;

input_event abs_event(uint16_t code, int32_t value) {
    input_event e{};
    e.type = EV_ABS;
    e.code = code;
    e.value = value;
    return e;
}

void BM_EvdevReadOneReport(benchmark::State& state) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    auto device = EvdevDevice::open(fds[0], driver_frame("playstation"), [](uint16_t) {
        return std::optional<AxisRange>(AxisRange{0, -32768, 32768, 8192});
    });
    // A DualSense report: three accelerations, three rotations, a timestamp.
    std::vector<input_event> report = {abs_event(ABS_X, -4000), abs_event(ABS_Y, 8100),
                                       abs_event(ABS_Z, 300),   abs_event(ABS_RX, 12),
                                       abs_event(ABS_RY, -40),  abs_event(ABS_RZ, 7)};
    input_event timestamp{};
    timestamp.type = EV_MSC;
    timestamp.code = MSC_TIMESTAMP;
    report.push_back(timestamp);
    report.push_back(input_event{});  // SYN_REPORT
    const size_t bytes = report.size() * sizeof(input_event);
    for (auto _ : state) {
        state.PauseTiming();
        if (write(fds[1], report.data(), bytes) != static_cast<ssize_t>(bytes)) {
            state.SkipWithError("short write");
            break;
        }
        state.ResumeTiming();
        device->pump();
        benchmark::DoNotOptimize(device->reading());
    }
    close(fds[1]);
}
BENCHMARK(BM_EvdevReadOneReport);

void BM_EvdevScanInputDevices(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "tiltophon-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    fs::path root(pattern);
    InputRoots roots{(root / "class").string(), (root / "dev").string()};
    fs::create_directories(roots.dev_input);
    // Thirty keyboards, mice and pads; the last one is a controller's motion sensors.
    for (int i = 0; i < 30; ++i) {
        fs::path device = root / "class" / ("event" + std::to_string(i)) / "device";
        fs::create_directories(device / "capabilities");
        bool motion = i == 29;
        std::ofstream(device / "name") << (motion ? "Pad Motion Sensors\n" : "Keyboard\n");
        std::ofstream(device / "properties") << (motion ? "40\n" : "0\n");
        std::ofstream(device / "capabilities/abs") << (motion ? "3f\n" : "0\n");
        std::ofstream(device / "capabilities/key") << (motion ? "0\n" : "fffe\n");
    }
    for (auto _ : state) benchmark::DoNotOptimize(find_input_accelerometers(roots));
    fs::remove_all(root);
}
BENCHMARK(BM_EvdevScanInputDevices)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tiltophon::sensor
