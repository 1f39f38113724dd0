// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tiltophon-sensor: shows which accelerometers Tiltophon's sensor library finds and
// whether it may read them, and with --watch the readings it would hand to Tiltophon,
// so a user can see that a controller works before starting the program.

#include <time.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sdl/HapticsVibrator.h"
#include "sensor/AccelerometerList.h"
#include "sensor/InputDevices.h"
#include "sensor/SourceConfig.h"

namespace {

using namespace tiltophon::sensor;

const char kUsage[] =
    "Usage: tiltophon-sensor [--watch [--samples N]]\n"
    "Lists the accelerometers Tiltophon can use: IIO sensors (phones, convertible\n"
    "laptops) and input-event accelerometers (game controllers' motion sensors, older\n"
    "laptops), each with its name, path and whether it can be read, and the way\n"
    "Tiltophon's vibrations would take, and why.\n"
    "\n"
    "  -w, --watch      print the readings Tiltophon would get, \"x y z\" in thousandths\n"
    "                   of g, every 50 ms until interrupted. Lying still, screen (or\n"
    "                   buttons) up reads about 0 0 -1000. The device is the one\n"
    "                   TILTOPHON_SENSOR names (default auto)\n"
    "  -n, --samples N  with --watch, stop after N readings\n"
    "  -h, --help       show this help\n";

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "tiltophon-sensor: %s\n", message.c_str());
    std::exit(1);
}

std::string shown(const std::string& text) {
    return text.empty() ? "-" : printable(text);
}

// The way Tiltophon's vibration pulses would go now, and why.
void show_vibration() {
    tiltophon::HapticsOptions options;
    if (const char* setting = std::getenv("TILTOPHON_SENSOR")) options.sensor_setting = setting;
    tiltophon::VibrationChoice choice =
        tiltophon::choose_vibration(options, tiltophon::feedbackd_on_session_bus());
    const char* names[] = {"haptics service", "vibration motor", "controller rumble",
                           "sysfs vibrator", "none"};
    std::string where = choice.device.empty() ? "" : ", " + printable(choice.device);
    std::printf("\nVibration: %s%s\n  because %s.\n", names[static_cast<int>(choice.path)],
                where.c_str(), choice.why.c_str());
}

int list() {
    auto found = list_accelerometers();
    if (found.empty()) {
        std::puts("No accelerometer found. Connect a controller with motion sensors, or try");
        std::puts("tiltophon-swing to swing without one.");
        show_vibration();
        return 0;
    }
    std::printf("%-6s %-48s %-32s %s\n", "SOURCE", "NAME", "PATH", "READABLE");
    bool denied = false;
    for (const ListedAccelerometer& a : found) {
        std::string name = shown(a.name);
        if (!a.driver.empty()) name += " [" + a.driver + "]";
        std::string readable = a.readable ? "yes" : "no: " + a.why_not;
        std::printf("%-6s %-48s %-32s %s\n", a.source.c_str(), name.c_str(), shown(a.path).c_str(),
                    readable.c_str());
        denied = denied || (!a.readable && a.advice.empty());
        if (!a.advice.empty()) std::printf("       %s\n", a.advice.c_str());
    }
    if (denied) {
        std::puts("\nA device Tiltophon may not read: install the package's udev rule");
        std::puts("(70-tiltophon-accelerometer.rules) and plug the device in again, or add");
        std::puts("yourself to the 'input' group and log in again.");
    }
    show_vibration();
    return 0;
}

int watch(long samples) {
    const char* setting = std::getenv("TILTOPHON_SENSOR");
    const char* pace = std::getenv("TILTOPHON_SENSOR_PACE");
    auto source = make_source(setting ? setting : "", pace ? pace : "");
    if (!source) fail(std::string("cannot use TILTOPHON_SENSOR=") + (setting ? setting : ""));
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (long i = 0; samples < 0 || i < samples; ++i) {
        Reading r = source->read();
        std::printf("%6d %6d %6d\n", r.x, r.y, r.z);
        std::fflush(stdout);
        next.tv_nsec += 50'000'000L;
        next.tv_sec += next.tv_nsec / 1'000'000'000L;
        next.tv_nsec %= 1'000'000'000L;
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr) != 0) {
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool watching = false;
    long samples = -1;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "-w" || arg == "--watch") {
            watching = true;
        } else if (arg == "-n" || arg == "--samples") {
            if (i + 1 >= argc) fail(std::string(arg) + " needs a number");
            std::string_view text = argv[++i];
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), samples);
            if (error != std::errc() || end != text.data() + text.size() || samples < 1) {
                fail("bad number of samples '" + std::string(text) + "'");
            }
        } else {
            fail("unknown argument '" + std::string(arg) + "' (see --help)");
        }
    }
    return watching ? watch(samples) : list();
}
