// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/WaylandPointer.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace tiltophon::e2e {

namespace {

// The requests of wlroots' virtual pointer protocol (wlr-virtual-pointer-unstable-v1)
// that a click needs, described as wayland-scanner would describe them. Requests are
// numbered by their place in the protocol, so every request before the last one used
// is listed.
const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes}, {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes}, {"axis", "uuf", kNoTypes},
    {"frame", "", kNoTypes},
};
const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 5,
                                        kPointerRequests,          0, nullptr};
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", kCreateTypes},
};
const wl_interface kManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};

enum PointerRequest : uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4 };

uint32_t now_ms() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

void WaylandPointer::on_global(wl_registry* registry, uint32_t name, const char* interface) {
    if (std::strcmp(interface, kManagerInterface.name) == 0 && !manager_) {
        manager_ =
            keep(static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1)));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat_) {
        seat_ =
            keep(static_cast<wl_proxy*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
    }
}

bool WaylandPointer::connect(const std::string& socket) {
    if (!open(socket) || !manager_) return false;
    pointer_ = keep(wl_proxy_marshal_constructor(manager_, 0, &kPointerInterface, seat_, nullptr));
    return pointer_ && roundtrip();
}

bool WaylandPointer::click(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    if (!pointer_) return false;
    wl_proxy_marshal(pointer_, kMotionAbsolute, now_ms(), x, y, width, height);
    wl_proxy_marshal(pointer_, kFrame);
    if (!roundtrip()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wl_proxy_marshal(pointer_, kButton, now_ms(), uint32_t{BTN_LEFT},
                     uint32_t{WL_POINTER_BUTTON_STATE_PRESSED});
    wl_proxy_marshal(pointer_, kFrame);
    if (!roundtrip()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wl_proxy_marshal(pointer_, kButton, now_ms(), uint32_t{BTN_LEFT},
                     uint32_t{WL_POINTER_BUTTON_STATE_RELEASED});
    wl_proxy_marshal(pointer_, kFrame);
    return roundtrip();
}

}  // namespace tiltophon::e2e
