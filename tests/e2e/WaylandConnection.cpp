// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/WaylandConnection.h"

#include <wayland-client.h>

namespace tiltophon::e2e {

namespace {

struct Globals {
    static void added(void* data, wl_registry* registry, uint32_t name, const char* interface,
                      uint32_t) {
        static_cast<WaylandConnection*>(data)->hear_global(registry, name, interface);
    }
    static void removed(void*, wl_registry*, uint32_t) {}
};

const wl_registry_listener kRegistryListener = {Globals::added, Globals::removed};

}  // namespace

WaylandConnection::~WaylandConnection() {
    if (!display_) return;
    for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) wl_proxy_destroy(*it);
    wl_display_disconnect(display_);
}

bool WaylandConnection::open(const std::string& socket) {
    display_ = wl_display_connect(socket.c_str());
    if (!display_) return false;
    wl_registry* registry = wl_display_get_registry(display_);
    keep(reinterpret_cast<wl_proxy*>(registry));
    wl_registry_add_listener(registry, &kRegistryListener, this);
    return roundtrip();
}

void WaylandConnection::hear_global(wl_registry* registry, uint32_t name, const char* interface) {
    on_global(registry, name, interface);
}

bool WaylandConnection::roundtrip() {
    return display_ && wl_display_roundtrip(display_) >= 0;
}

wl_proxy* WaylandConnection::keep(wl_proxy* proxy) {
    if (proxy) kept_.push_back(proxy);
    return proxy;
}

}  // namespace tiltophon::e2e
