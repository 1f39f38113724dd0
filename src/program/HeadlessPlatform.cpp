// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/HeadlessPlatform.h"

#include "app/AppState.h"
#include "vavurud/Draw.h"

namespace tiltophon {

// The default font is a 14-pixel cell at 96 dpi, scaled to the screen.
HeadlessPlatform::HeadlessPlatform(ScreenInfo screen)
    : windows(clock, screen), devices(clock), fonts((14 * screen.dpi_y + 48) / 96) {
    services_.clock = &clock;
    services_.windows = &windows;
    services_.audio = &devices;
    services_.vibrator = &devices;
    services_.idle = &devices;
    services_.processes = &devices;
    services_.threads = &threads;
    services_.libraries = &libraries;
    services_.images = &images;
    services_.fonts = &fonts;
    services_.registry = &registry;
    services_.sound_check = &sound_check;
    services_.recorder = &recorder;
    services_.encoder = &encoder;
    install_platform(services_);
    reset_app();
    reset_scale_cache();
}

HeadlessPlatform::~HeadlessPlatform() {
    threads.join_all();
    reset_app();
    install_platform({});
}

}  // namespace tiltophon
