// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Platform.h"

namespace tiltophon {

namespace {
Platform g_platform;
}

Platform& platform() { return g_platform; }

void install_platform(const Platform& services) { g_platform = services; }

}  // namespace tiltophon
