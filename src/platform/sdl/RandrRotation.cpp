// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/RandrRotation.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace tiltophon {

namespace {

// An output can go away between two requests (a monitor unplugged); Xlib's own
// handler would end the program for it. While the rotation is read, an error only
// makes the answer unknown.
bool g_request_failed = false;

int note_error(Display*, XErrorEvent*) {
    g_request_failed = true;
    return 0;
}

class ErrorsNoted {
public:
    explicit ErrorsNoted(Display* display) : display_(display) {
        g_request_failed = false;
        previous_ = XSetErrorHandler(note_error);
    }
    ~ErrorsNoted() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    bool failed() {
        XSync(display_, False);
        return g_request_failed;
    }

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

}  // namespace

std::unique_ptr<RandrRotation> RandrRotation::open() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    int event_base = 0;
    int error_base = 0;
    if (!XRRQueryExtension(display, &event_base, &error_base)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<RandrRotation>(new RandrRotation(display));
}

RandrRotation::~RandrRotation() {
    XCloseDisplay(display_);
}

std::optional<uint32_t> RandrRotation::rotation_at(int32_t x, int32_t y) {
    ErrorsNoted errors(display_);
    std::optional<uint32_t> rotation = output_rotation_at(x, y);
    if (!rotation) {
        Rotation current = 0;
        XRRRotations(display_, DefaultScreen(display_), &current);
        if (current) rotation = current;
    }
    if (errors.failed()) return std::nullopt;
    return rotation;
}

std::optional<uint32_t> RandrRotation::output_rotation_at(int32_t x, int32_t y) {
    int major = 0;
    int minor = 0;
    // CRTCs, one for each lit output, came with RandR 1.2.
    if (!XRRQueryVersion(display_, &major, &minor) || (major == 1 && minor < 2)) {
        return std::nullopt;
    }
    XRRScreenResources* resources =
        XRRGetScreenResourcesCurrent(display_, DefaultRootWindow(display_));
    if (!resources) return std::nullopt;
    std::optional<uint32_t> rotation;
    for (int i = 0; i < resources->ncrtc && !rotation; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display_, resources, resources->crtcs[i]);
        if (!crtc) continue;
        if (crtc->mode != None && crtc->x == x && crtc->y == y) rotation = crtc->rotation;
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return rotation;
}

}  // namespace tiltophon
