#include "app/Program.h"
#include "platform/Platform.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlDevices.h"
#include "platform/sdl/SdlWindowSystem.h"

using namespace tiltophon;

int main() {
    SdlWindowSystem windows;
    // Threads the program starts may still run when main returns, so the services
    // they use are never destroyed.
    auto* idle = new SdlIdleControl;
    windows.set_idle_control(idle);

    Platform services;
    services.clock = new SdlClock;
    services.windows = &windows;
    services.registry = new FileRegistry(FileRegistry::default_path());
    services.files = new PosixFileSystem;
    services.vibrator = new SdlVibrator;
    services.idle = idle;
    services.processes = new PosixProcessLauncher;
    services.threads = new SdlThreadRunner;
    // Images, fonts, audio and the sensor library loader join with the parts that
    // use them; without them the program runs with those features missing.
    install_platform(services);

    return run_program();
}
