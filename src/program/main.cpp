// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Program.h"
#include "platform/LayeredRegistry.h"
#include "platform/Platform.h"
#include "platform/media/DecodingSoundFileCheck.h"
#include "platform/media/FlacEncoder.h"
#include "platform/media/FreeTypeFontEngine.h"
#include "platform/media/PngImageCodec.h"
#include "platform/posix/DlLibraryLoader.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/GettextCaptions.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/sdl/HapticsVibrator.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlDevices.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "platform/sdl/SdlSoundRecorder.h"
#include "platform/sdl/SdlWindowSystem.h"
#include "program/CommandLine.h"

using namespace tiltophon;

int main(int argc, char* argv[]) {
    // --help and --version answer before any window, file or lock is touched.
    const CommandLine line = parse_command_line(argc, argv);
    const int answered = answer_command_line(line, stdout, stderr);
    if (answered >= 0) return answered;

    SdlWindowSystem windows(line.screen_mode);
    // A copy that nobody can see must not start: it would hold the single-instance
    // lock, and the user's next start from the desktop would only raise it.
    if (std::string problem = windows.display_problem(); !problem.empty()) {
        std::fprintf(stderr, "tiltophon: %s\n", problem.c_str());
        return 1;
    }
    // Threads the program starts may still run when main returns, so the services
    // they use are never destroyed.
    auto* idle = new SdlIdleControl;
    windows.set_idle_control(idle);

    Platform services;
    services.clock = new SdlClock;
    services.windows = &windows;
    auto* files = new PosixFileSystem;
    services.files = files;
    std::string program_path = utf8_from_utf16(files->program_path());
    std::string program_folder = program_path.substr(0, program_path.rfind('/') + 1);
    // The program folder's Defaults.reg gives what the user's settings file lacks.
    services.registry = new LayeredRegistry(*new FileRegistry(FileRegistry::default_path()),
                                            *new FileRegistry(program_folder + "Defaults.reg"));
    HapticsOptions haptics;
    // The controller the motion comes from, if any, is the one the sensor library reads.
    if (const char* sensor = std::getenv("TILTOPHON_SENSOR")) haptics.sensor_setting = sensor;
    services.vibrator = new HapticsVibrator(haptics);
    services.idle = idle;
    services.processes = new PosixProcessLauncher;
    services.threads = new SdlThreadRunner;
    services.images = new PngImageCodec;
    // The text of controls without a font of their own: a 14-pixel cell at 96 dpi,
    // scaled to the screen. Only the main and loader threads draw text, and both have
    // finished when the loop ends, so the fonts go (and fontconfig with them) at exit.
    FreeTypeFontEngine fonts((14 * windows.screen().dpi_y + 48) / 96);
    services.fonts = &fonts;
    services.audio = new SdlSoundPlayer;
    services.sound_check = new DecodingSoundFileCheck;
    services.recorder = new SdlSoundRecorder;
    services.encoder = new FlacEncoder;
    services.libraries = new DlLibraryLoader(program_folder);
    // The catalogues lie beside the program folder, in the build tree as installed.
    services.captions = new GettextCaptions(GettextCaptions::locale_folder_of(program_folder),
                                            GettextCaptions::languages_from_environment());
    install_platform(services);

    return run_program();
}
