// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct wl_display;
struct wl_proxy;
struct wl_registry;

namespace tiltophon::e2e {

// A test's own connection to a Wayland compositor: the globals it offers go to the
// subclass, and every object the subclass keeps goes with the connection.
class WaylandConnection {
public:
    WaylandConnection() = default;
    virtual ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    // For the registry's listener.
    void hear_global(wl_registry* registry, uint32_t name, const char* interface);

protected:
    // Connects to the compositor listening on `socket` (a full path) and hears its
    // globals; false when it cannot be reached.
    bool open(const std::string& socket);
    // Each global the compositor offers, while opening.
    virtual void on_global(wl_registry* registry, uint32_t name, const char* interface) = 0;
    // Sends what is queued and waits until the compositor has answered it all.
    bool roundtrip();
    // `proxy`, destroyed with the connection.
    wl_proxy* keep(wl_proxy* proxy);

private:
    wl_display* display_ = nullptr;
    std::vector<wl_proxy*> kept_;
};

}  // namespace tiltophon::e2e
