// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tiltophon-swing: plays swings of the handset into the named pipe that Tiltophon's
// sensor library reads with TILTOPHON_SENSOR=fifo:PATH, so motion detection can be
// tried on a machine without an accelerometer.

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "swing/SwingProfile.h"

namespace {

using namespace tiltophon::swing;

constexpr int kDefaultPeak = 1500;
constexpr int kDefaultGapMs = 600;

const char kUsage[] =
    "Usage: tiltophon-swing [OPTION]... MOVE...\n"
    "Writes the accelerometer samples of swings, one \"x y z\" line every 50 ms in real\n"
    "time, into the named pipe Tiltophon reads when started with\n"
    "TILTOPHON_SENSOR=fifo:PATH. Switch motion on in Tiltophon first.\n"
    "\n"
    "Moves: forward (Y < 0), back (Y > 0), left (X < 0), right (X > 0), up, down (Z).\n"
    "Each swing starts and ends at rest (0 0 -1000, lying still, screen up).\n"
    "\n"
    "Options:\n"
    "  -f, --fifo PATH     the pipe to write; created when missing. Default:\n"
    "                      $XDG_RUNTIME_DIR/tiltophon-sensor, or /tmp/tiltophon-sensor-UID\n"
    "                      when XDG_RUNTIME_DIR is not set\n"
    "  -p, --peak MILLI_G  how hard each swing is, in thousandths of g over rest\n"
    "                      (1 to 30000, default 1500). A swing surely fires at\n"
    "                      sensitivity S when 0.85 x peak exceeds 1200 - 100 x S: the\n"
    "                      default fires at every sensitivity, 900 from sensitivity 5 up\n"
    "  -g, --gap MS        rest between two moves (default 600)\n"
    "  -w, --wait          wait until Tiltophon opens the pipe instead of failing\n"
    "  -o, --stdout        print the samples to standard output at once, without\n"
    "                      waiting, e.g. to make a trace for TILTOPHON_SENSOR=replay:FILE\n"
    "  -h, --help          show this help\n";

struct Options {
    std::string fifo;
    int peak = kDefaultPeak;
    int gap_ms = kDefaultGapMs;
    bool wait = false;
    bool to_stdout = false;
    std::vector<Move> moves;
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "tiltophon-swing: %s\n", message.c_str());
    std::exit(1);
}

std::string default_fifo() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/tiltophon-sensor";
    return "/tmp/tiltophon-sensor-" + std::to_string(getuid());
}

int parse_int(std::string_view text, int low, int high, const char* what) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        fail(std::string("bad ") + what + " '" + std::string(text) +
             "': give a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return value;
}

Options parse_options(int argc, char** argv) {
    Options options;
    options.fifo = default_fifo();
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        auto value = [&](const char* what) -> std::string_view {
            if (i + 1 >= argc) fail(std::string(arg) + " needs " + what);
            return argv[++i];
        };
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "-f" || arg == "--fifo") {
            options.fifo = std::string(value("a path"));
            if (options.fifo.empty()) fail("the fifo path is empty");
        } else if (arg == "-p" || arg == "--peak") {
            options.peak = parse_int(value("a number"), 1, kMaxPeak, "peak");
        } else if (arg == "-g" || arg == "--gap") {
            options.gap_ms = parse_int(value("a number"), 0, 600000, "gap");
        } else if (arg == "-w" || arg == "--wait") {
            options.wait = true;
        } else if (arg == "-o" || arg == "--stdout") {
            options.to_stdout = true;
        } else if (arg.starts_with("-") && arg.size() > 1) {
            fail("unknown option '" + std::string(arg) + "' (see --help)");
        } else if (auto move = parse_move(arg)) {
            options.moves.push_back(*move);
        } else {
            fail("unknown move '" + std::string(arg) +
                 "': use forward, back, left, right, up or down");
        }
    }
    if (options.moves.empty()) fail("no move given (see --help)");
    return options;
}

std::vector<Sample> all_samples(const Options& options) {
    std::vector<Sample> samples;
    int gap_samples = static_cast<int>(options.gap_ms / kSamplePeriodMs);
    uint32_t seed = 1;
    for (size_t i = 0; i < options.moves.size(); ++i) {
        if (i > 0) {
            std::vector<Sample> gap = rest_samples(gap_samples, seed++);
            samples.insert(samples.end(), gap.begin(), gap.end());
        }
        std::vector<Sample> swing = swing_samples(options.moves[i], options.peak, seed++);
        samples.insert(samples.end(), swing.begin(), swing.end());
    }
    return samples;
}

std::string line_of(const Sample& s) {
    return std::to_string(s.x) + " " + std::to_string(s.y) + " " + std::to_string(s.z) + "\n";
}

int open_fifo(const Options& options) {
    const std::string& path = options.fifo;
    if (mkfifo(path.c_str(), 0600) != 0 && errno != EEXIST) {
        fail("cannot create the pipe " + path + ": " + std::strerror(errno));
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        fail("cannot look at " + path + ": " + std::strerror(errno));
    if (!S_ISFIFO(info.st_mode)) fail(path + " exists and is not a named pipe");
    bool told = false;
    while (true) {
        // Opened without blocking first: with nobody reading, that fails at once.
        int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            int flags = fcntl(fd, F_GETFL);
            if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
                fail("cannot set up " + path + ": " + std::strerror(errno));
            }
            return fd;
        }
        if (errno != ENXIO) fail("cannot open " + path + ": " + std::strerror(errno));
        if (!options.wait) {
            fail("nobody reads " + path + ": start Tiltophon with TILTOPHON_SENSOR=fifo:" + path +
                 " first, or use --wait");
        }
        if (!told) {
            std::fprintf(stderr, "tiltophon-swing: waiting for Tiltophon to open %s\n",
                         path.c_str());
            told = true;
        }
        timespec pause{0, 100 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

void write_all(int fd, const std::string& text, const std::string& path) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EPIPE) fail("Tiltophon closed " + path);
        if (count < 0) fail("cannot write to " + path + ": " + std::strerror(errno));
        done += static_cast<size_t>(count);
    }
}

void add_ms(timespec& at, long ms) {
    at.tv_nsec += ms * 1000000L;
    at.tv_sec += at.tv_nsec / 1000000000L;
    at.tv_nsec %= 1000000000L;
}

}  // namespace

int main(int argc, char** argv) {
    Options options = parse_options(argc, argv);
    std::vector<Sample> samples = all_samples(options);

    if (options.to_stdout) {
        for (const Sample& s : samples) std::fputs(line_of(s).c_str(), stdout);
        if (std::fflush(stdout) != 0) fail(std::string("cannot write: ") + std::strerror(errno));
        return 0;
    }

    std::signal(SIGPIPE, SIG_IGN);
    int fd = open_fifo(options);
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (const Sample& s : samples) {
        write_all(fd, line_of(s), options.fifo);
        add_ms(next, kSamplePeriodMs);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr) == EINTR) {
        }
    }
    close(fd);
    return 0;
}
