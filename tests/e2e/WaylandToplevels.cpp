// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/WaylandToplevels.h"

#include <wayland-client.h>

#include <cstring>

namespace tiltophon::e2e {

namespace {

// The events of wlroots' foreign toplevel protocol
// (wlr-foreign-toplevel-management-unstable-v1, version 1) as wayland-scanner would
// describe them, numbered by their place in the protocol.
const wl_interface* kNoTypes[] = {nullptr};
const wl_interface* kOutputTypes[] = {&wl_output_interface};
const wl_message kHandleEvents[] = {
    {"title", "s", kNoTypes},
    {"app_id", "s", kNoTypes},
    {"output_enter", "o", kOutputTypes},
    {"output_leave", "o", kOutputTypes},
    {"state", "a", kNoTypes},
    {"done", "", kNoTypes},
    {"closed", "", kNoTypes},
};
const wl_interface kHandleInterface = {
    "zwlr_foreign_toplevel_handle_v1", 1, 0, nullptr, 7, kHandleEvents};
const wl_interface* kToplevelTypes[] = {&kHandleInterface};
const wl_message kManagerEvents[] = {
    {"toplevel", "n", kToplevelTypes},
    {"finished", "", kNoTypes},
};
const wl_interface kManagerInterface = {
    "zwlr_foreign_toplevel_manager_v1", 1, 0, nullptr, 2, kManagerEvents};

struct HandleListener {
    void (*title)(void*, wl_proxy*, const char*);
    void (*app_id)(void*, wl_proxy*, const char*);
    void (*output_enter)(void*, wl_proxy*, wl_proxy*);
    void (*output_leave)(void*, wl_proxy*, wl_proxy*);
    void (*state)(void*, wl_proxy*, wl_array*);
    void (*done)(void*, wl_proxy*);
    void (*closed)(void*, wl_proxy*);
};

const HandleListener kHandleListener = {
    [](void*, wl_proxy*, const char*) {},
    [](void* data, wl_proxy*, const char* id) {
        static_cast<WaylandToplevels*>(data)->app_ids.emplace_back(id);
    },
    [](void*, wl_proxy*, wl_proxy*) {},
    [](void*, wl_proxy*, wl_proxy*) {},
    [](void*, wl_proxy*, wl_array*) {},
    [](void*, wl_proxy*) {},
    [](void*, wl_proxy*) {},
};

struct ManagerListener {
    void (*toplevel)(void*, wl_proxy*, wl_proxy*);
    void (*finished)(void*, wl_proxy*);
};

const ManagerListener kManagerListener = {
    [](void* data, wl_proxy*, wl_proxy* handle) {
        static_cast<WaylandToplevels*>(data)->add_window(handle);
    },
    [](void*, wl_proxy*) {},
};

}  // namespace

void WaylandToplevels::on_global(wl_registry* registry, uint32_t name, const char* interface) {
    if (std::strcmp(interface, kManagerInterface.name) != 0 || manager_) return;
    manager_ =
        keep(static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1)));
    wl_proxy_add_listener(manager_, (void (**)(void))(&kManagerListener), this);
}

void WaylandToplevels::add_window(wl_proxy* handle) {
    keep(handle);
    ++windows_;
    wl_proxy_add_listener(handle, (void (**)(void))(&kHandleListener), this);
}

bool WaylandToplevels::read(const std::string& socket) {
    // The globals, then the windows, then what each window says of itself.
    if (!open(socket) || !roundtrip() || !roundtrip()) return false;
    return manager_ && windows_ > 0;
}

}  // namespace tiltophon::e2e
