// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>

#include "e2e/ChildProcess.h"
#include "platform/Bitmap.h"

namespace tiltophon::e2e {

// More for the end-to-end tests beside ChildProcess.h: ending a child for sure, and
// pictures of a display compared loosely.

// Ends a child that may still run, politely, then for sure, and with it every process
// left in its group.
inline void end_process(pid_t pid) {
    if (pid <= 0) return;
    if (::waitpid(pid, nullptr, WNOHANG) == 0) {
        ::kill(pid, SIGTERM);
        if (!wait_exit(pid, std::chrono::seconds(5))) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    // What it started and left behind, such as a display server or the program under
    // a wrapper, would otherwise hold the test's output open and keep it from ending.
    ::kill(-pid, SIGKILL);
}

// The share of pixels in `area` that differ by more than a little in any channel.
inline double differing_share(const Bitmap& a, const Bitmap& b, const Rect& area) {
    int differing = 0;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            uint32_t p = a.pixel(x, y);
            uint32_t q = b.pixel(x, y);
            for (int shift : {0, 8, 16}) {
                int d = int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF);
                if (d > 8 || d < -8) {
                    ++differing;
                    break;
                }
            }
        }
    }
    return double(differing) / (area.width() * area.height());
}

// Like differing_share, over the mean colours of `block` x `block` squares: the
// softened edges of a scaled picture average out, a different picture does not.
inline double differing_blocks_share(const Bitmap& a, const Bitmap& b, const Rect& area,
                                     int32_t block = 4) {
    int blocks = 0;
    int differing = 0;
    for (int32_t top = area.top; top + block <= area.bottom; top += block) {
        for (int32_t left = area.left; left + block <= area.right; left += block) {
            int sums[2][3] = {};
            for (int32_t y = top; y < top + block; ++y) {
                for (int32_t x = left; x < left + block; ++x) {
                    for (int c = 0; c < 3; ++c) {
                        sums[0][c] += (a.pixel(x, y) >> (8 * c)) & 0xFF;
                        sums[1][c] += (b.pixel(x, y) >> (8 * c)) & 0xFF;
                    }
                }
            }
            bool differs = false;
            for (int c = 0; c < 3; ++c) {
                differs = differs || std::abs(sums[0][c] - sums[1][c]) > 16 * block * block;
            }
            ++blocks;
            differing += differs ? 1 : 0;
        }
    }
    return blocks ? double(differing) / blocks : 0.0;
}

// The frame-sized picture inside `shot`, read back through the placement `target`:
// each frame pixel is the screenshot pixel under its centre.
inline Bitmap frame_from_screenshot(const Bitmap& shot, const Rect& target, int32_t frame_width,
                                    int32_t frame_height) {
    Bitmap frame(frame_width, frame_height);
    for (int32_t y = 0; y < frame_height; ++y) {
        int32_t sy = target.top + int32_t((y + 0.5) * target.height() / frame_height);
        for (int32_t x = 0; x < frame_width; ++x) {
            int32_t sx = target.left + int32_t((x + 0.5) * target.width() / frame_width);
            frame.set_pixel(x, y, shot.pixel(sx, sy));
        }
    }
    return frame;
}

}  // namespace tiltophon::e2e
