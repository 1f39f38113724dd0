// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

#include "e2e/WaylandConnection.h"

namespace tiltophon::e2e {

// A pointer device made up for a wlroots compositor (such as phoc) through its virtual
// pointer protocol, so a test can click where a finger would touch: a headless
// compositor has no input devices of its own.
class WaylandPointer : public WaylandConnection {
public:
    // Connects to the compositor listening on `socket` (a full path). False when it
    // cannot be reached or offers no virtual pointers.
    bool connect(const std::string& socket);
    // Presses and releases the left button at (x, y) of an output `width` x `height`
    // pixels large.
    bool click(uint32_t x, uint32_t y, uint32_t width, uint32_t height);

protected:
    void on_global(wl_registry* registry, uint32_t name, const char* interface) override;

private:
    wl_proxy* manager_ = nullptr;
    wl_proxy* seat_ = nullptr;
    wl_proxy* pointer_ = nullptr;
};

}  // namespace tiltophon::e2e
