// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "e2e/WaylandConnection.h"

namespace tiltophon::e2e {

// The windows of a wlroots compositor (such as phoc) as its task switchers see them,
// through its foreign toplevel protocol: what a phone shell or a dock would show.
class WaylandToplevels : public WaylandConnection {
public:
    // Connects to the compositor listening on `socket` (a full path) and reads the
    // windows it has now. False when it cannot be reached or lists no windows.
    bool read(const std::string& socket);
    // The application id of each window, in the compositor's order.
    std::vector<std::string> app_ids;

    // For the listeners: a window the compositor announces.
    void add_window(wl_proxy* handle);

protected:
    void on_global(wl_registry* registry, uint32_t name, const char* interface) override;

private:
    wl_proxy* manager_ = nullptr;
    int windows_ = 0;
};

}  // namespace tiltophon::e2e
