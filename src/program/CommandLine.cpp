// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/CommandLine.h"

#include <getopt.h>

namespace tiltophon {

namespace {

constexpr char kUsage[] =
    "Usage: tiltophon [OPTION]\n"
    "A motion-triggered sound board: a swing of the device forward, back, left,\n"
    "right or along its vertical axis plays the sound of the matching slot.\n"
    "\n"
    "  -f, --fullscreen  fill the display, as on a phone\n"
    "  -w, --window      open a window of 480 x 640, as on a desktop\n"
    "  -h, --help        show this help and exit\n"
    "  -V, --version     show the version and exit\n"
    "\n"
    "Without --fullscreen or --window, a display that stands portrait, or a touch\n"
    "screen of at most 9 inches, is filled; any other gets the window.\n"
    "\n"
    "TILTOPHON_SENSOR chooses the accelerometer: auto (the default), iio, evdev,\n"
    "evdev:PATH, replay:FILE or fifo:PATH. See tiltophon(1) for the rest.\n";

constexpr option kOptions[] = {
    {"fullscreen", no_argument, nullptr, 'f'},
    {"window", no_argument, nullptr, 'w'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

// What is wrong with the option getopt_long refused in `word`: a long one as typed,
// a short one by its letter (which may sit in a cluster such as -hx).
std::string refusal(const std::string& word) {
    if (word.starts_with("--")) {
        // glibc names the option in optopt when it exists but may not take a value.
        const size_t equals = word.find('=');
        if (optopt != 0 && equals != std::string::npos) {
            return "option '" + word.substr(0, equals) + "' takes no value";
        }
        return "unknown option '" + word + "'";
    }
    return std::string("unknown option '-") + static_cast<char>(optopt) + "'";
}

}  // namespace

CommandLine parse_command_line(int argc, char* argv[]) {
    CommandLine line;
    bool help = false;
    bool version = false;
    // 0 starts glibc's scan afresh, so the parse can run more than once.
    optind = 0;
    opterr = 0;
    // The word the next option comes from. "+" stops the scan at the first operand
    // rather than moving operands to the end, so this stays true.
    int word = 1;
    int found = 0;
    for (; (found = getopt_long(argc, argv, "+fwhV", kOptions, nullptr)) != -1; word = optind) {
        switch (found) {
            case 'f':
                line.screen_mode = ScreenMode::kFullScreen;
                break;
            case 'w':
                line.screen_mode = ScreenMode::kWindow;
                break;
            case 'h':
                help = true;
                break;
            case 'V':
                version = true;
                break;
            default:
                if (line.problem.empty()) line.problem = refusal(argv[word]);
        }
    }
    if (line.problem.empty() && optind < argc) {
        line.problem = std::string("unexpected argument '") + argv[optind] + "'";
    }
    if (!line.problem.empty()) {
        line.action = CommandLine::Action::kMisuse;
    } else if (help) {
        line.action = CommandLine::Action::kHelp;
    } else if (version) {
        line.action = CommandLine::Action::kVersion;
    }
    return line;
}

int answer_command_line(const CommandLine& line, std::FILE* out, std::FILE* err) {
    switch (line.action) {
        case CommandLine::Action::kRun:
            return -1;
        case CommandLine::Action::kHelp:
            std::fputs(kUsage, out);
            return std::fflush(out) == 0 ? 0 : 1;
        case CommandLine::Action::kVersion:
            std::fputs("tiltophon " TILTOPHON_VERSION "\n", out);
            return std::fflush(out) == 0 ? 0 : 1;
        case CommandLine::Action::kMisuse:
            std::fprintf(err, "tiltophon: %s\n%s", line.problem.c_str(), kUsage);
            return 2;
    }
    return 2;
}

}  // namespace tiltophon
