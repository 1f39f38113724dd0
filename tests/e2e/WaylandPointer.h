// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

struct wl_display;
struct wl_proxy;

namespace tiltophon::e2e {

// A pointer device made up for a wlroots compositor (such as phoc) through its virtual
// pointer protocol, so a test can click where a finger would touch: a headless
// compositor has no input devices of its own.
class WaylandPointer {
public:
    WaylandPointer() = default;
    ~WaylandPointer();
    WaylandPointer(const WaylandPointer&) = delete;
    WaylandPointer& operator=(const WaylandPointer&) = delete;

    // Connects to the compositor listening on `socket` (a full path). False when it
    // cannot be reached or offers no virtual pointers.
    bool connect(const std::string& socket);
    // Presses and releases the left button at (x, y) of an output `width` x `height`
    // pixels large.
    bool click(uint32_t x, uint32_t y, uint32_t width, uint32_t height);

    // What the compositor offered, filled in while connecting.
    wl_proxy* manager = nullptr;
    wl_proxy* seat = nullptr;

private:
    bool send_and_wait();

    wl_display* display_ = nullptr;
    wl_proxy* registry_ = nullptr;
    wl_proxy* pointer_ = nullptr;
};

}  // namespace tiltophon::e2e
