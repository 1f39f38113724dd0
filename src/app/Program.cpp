// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Program.h"

#include "app/AppResources.h"
#include "app/AppState.h"
#include "app/Loader.h"
#include "app/MainWindow.h"
#include "platform/Platform.h"

namespace tiltophon {

namespace {

// Set by init_instance when the program ends because another copy runs: an end as
// ordinary as a close. Any other refusal means no window appeared.
bool other_copy_raised = false;

}  // namespace

int init_instance(ShowCommand show) {
    other_copy_raised = false;
    WindowSystem* windows = platform().windows;
    if (!windows) return 0;
    // A second start brings the running window forward and ends at once.
    if (windows->raise_existing(kWindowClass, kWindowTitle)) {
        other_copy_raised = true;
        return 0;
    }

    AppResources* resources = app().make_owned<AppResources>();
    app().resources = resources;
    resources->load();

    Window* window = windows->create_window(kWindowClass, kWindowTitle, window_proc);
    if (!window) return 0;
    app().main_window = window;
    if (resources->icon) window->set_icon(*resources->icon);
    create_buffers(window);
    start_loader();
    window->show(show);
    window->invalidate(nullptr, true);
    window->update();
    return 1;
}

int run_program() {
    if (!init_instance(ShowCommand::kNormal)) return other_copy_raised ? 0 : kExitNoWindow;
    WindowSystem* windows = platform().windows;
    Message message;
    while (windows->get_message(message)) windows->dispatch(message);
    return static_cast<int>(message.wparam);
}

}  // namespace tiltophon
