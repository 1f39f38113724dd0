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
    {"motion", "uff", kNoTypes},
    {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes},
    {"axis", "uuf", kNoTypes},
    {"frame", "", kNoTypes},
};
const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 5, kPointerRequests, 0,
                                        nullptr};
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", kCreateTypes},
};
const wl_interface kManagerInterface = {"zwlr_virtual_pointer_manager_v1", 1, 1,
                                        kManagerRequests, 0, nullptr};

enum PointerRequest : uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4 };

void on_global(void* data, wl_registry* registry, uint32_t name, const char* interface,
               uint32_t) {
    auto* pointer = static_cast<WaylandPointer*>(data);
    if (std::strcmp(interface, kManagerInterface.name) == 0) {
        pointer->manager =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !pointer->seat) {
        pointer->seat =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
}

void on_global_remove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {on_global, on_global_remove};

uint32_t now_ms() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

WaylandPointer::~WaylandPointer() {
    if (!display_) return;
    if (pointer_) wl_proxy_destroy(pointer_);
    if (manager) wl_proxy_destroy(manager);
    if (seat) wl_proxy_destroy(seat);
    if (registry_) wl_proxy_destroy(registry_);
    wl_display_disconnect(display_);
}

bool WaylandPointer::connect(const std::string& socket) {
    display_ = wl_display_connect(socket.c_str());
    if (!display_) return false;
    auto* registry = wl_display_get_registry(display_);
    registry_ = reinterpret_cast<wl_proxy*>(registry);
    wl_registry_add_listener(registry, &kRegistryListener, this);
    if (wl_display_roundtrip(display_) < 0 || !manager) return false;
    pointer_ = wl_proxy_marshal_constructor(manager, 0, &kPointerInterface, seat, nullptr);
    return pointer_ && wl_display_roundtrip(display_) >= 0;
}

bool WaylandPointer::send_and_wait() {
    return wl_display_roundtrip(display_) >= 0;
}

bool WaylandPointer::click(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    if (!pointer_) return false;
    wl_proxy_marshal(pointer_, kMotionAbsolute, now_ms(), x, y, width, height);
    wl_proxy_marshal(pointer_, kFrame);
    if (!send_and_wait()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wl_proxy_marshal(pointer_, kButton, now_ms(), uint32_t{BTN_LEFT},
                     uint32_t{WL_POINTER_BUTTON_STATE_PRESSED});
    wl_proxy_marshal(pointer_, kFrame);
    if (!send_and_wait()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wl_proxy_marshal(pointer_, kButton, now_ms(), uint32_t{BTN_LEFT},
                     uint32_t{WL_POINTER_BUTTON_STATE_RELEASED});
    wl_proxy_marshal(pointer_, kFrame);
    return send_and_wait();
}

}  // namespace tiltophon::e2e
