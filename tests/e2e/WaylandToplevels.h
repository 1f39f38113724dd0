// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

struct wl_display;
struct wl_proxy;

namespace tiltophon::e2e {

// The windows of a wlroots compositor (such as phoc) as its task switchers see them,
// through its foreign toplevel protocol: what a phone shell or a dock would show.
class WaylandToplevels {
public:
    WaylandToplevels() = default;
    ~WaylandToplevels();
    WaylandToplevels(const WaylandToplevels&) = delete;
    WaylandToplevels& operator=(const WaylandToplevels&) = delete;

    // Connects to the compositor listening on `socket` (a full path) and reads the
    // windows it has now. False when it cannot be reached or lists no windows.
    bool read(const std::string& socket);
    // The application id of each window, in the compositor's order.
    std::vector<std::string> app_ids;

    // Filled in while reading.
    wl_proxy* manager = nullptr;
    std::vector<wl_proxy*> handles;

private:
    wl_display* display_ = nullptr;
    wl_proxy* registry_ = nullptr;
};

}  // namespace tiltophon::e2e
