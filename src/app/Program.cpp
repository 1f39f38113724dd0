// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Program.h"

#include "app/AppResources.h"
#include "app/AppState.h"
#include "app/Loader.h"
#include "app/MainWindow.h"
#include "platform/Platform.h"

namespace tiltophon {

int init_instance(ShowCommand show) {
    WindowSystem* windows = platform().windows;
    if (!windows) return 0;
    // A second start brings the running window forward and ends at once.
    if (windows->raise_existing(kWindowClass, kWindowTitle)) return 0;

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
    if (!init_instance(ShowCommand::kNormal)) return 0;
    WindowSystem* windows = platform().windows;
    Message message;
    while (windows->get_message(message)) windows->dispatch(message);
    return static_cast<int>(message.wparam);
}

}  // namespace tiltophon
