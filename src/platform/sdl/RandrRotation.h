// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <optional>

typedef struct _XDisplay Display;

namespace tiltophon {

// The rotation an X server's RandR extension gives its outputs: what a phone shell's
// X server (Xwayland, among others) reports when the shell turns the display. A
// connection of its own, on the main thread only.
class RandrRotation {
public:
    // Nothing when there is no X server or it has no RandR.
    static std::unique_ptr<RandrRotation> open();
    ~RandrRotation();
    RandrRotation(const RandrRotation&) = delete;
    RandrRotation& operator=(const RandrRotation&) = delete;

    // The RandR rotation bits of the output whose top-left corner is (x, y) on the
    // X screen, or of the whole screen when no output starts there; nothing when the
    // server does not say.
    std::optional<uint32_t> rotation_at(int32_t x, int32_t y);

private:
    explicit RandrRotation(Display* display) : display_(display) {}
    std::optional<uint32_t> output_rotation_at(int32_t x, int32_t y);

    Display* display_;
};

}  // namespace tiltophon
