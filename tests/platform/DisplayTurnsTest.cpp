// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "platform/sdl/DisplayTurns.h"

namespace tiltophon {
namespace {

// Each row is one turn of the display as the two systems report it, measured under
// phoc: its Wayland output's orientation in SDL, and Xwayland's RandR rotation of the
// same output. Both must turn the frame back alike.
TEST(DisplayTurnsTest, WaylandOrientationAndRandrRotationTurnTheFrameBackAlike) {
    struct Row {
        SDL_DisplayOrientation orientation;
        uint32_t randr;
        int32_t turns;
    };
    const Row rows[] = {
        {SDL_ORIENTATION_LANDSCAPE, 1, 0},          // unturned
        {SDL_ORIENTATION_PORTRAIT_FLIPPED, 8, 1},   // phoc's rotate = 90
        {SDL_ORIENTATION_LANDSCAPE_FLIPPED, 4, 2},  // rotate = 180
        {SDL_ORIENTATION_PORTRAIT, 2, 3},           // rotate = 270
        {SDL_ORIENTATION_UNKNOWN, 0, 0},            // what cannot be told
    };
    for (const Row& row : rows) {
        EXPECT_EQ(turns_for_orientation(row.orientation), row.turns) << row.orientation;
        EXPECT_EQ(turns_for_randr_rotation(row.randr), row.turns) << row.randr;
    }
    // A reflection leaves the turn; no rotation or several at once count as natural.
    EXPECT_EQ(turns_for_randr_rotation(8 | 0x10), 1);
    EXPECT_EQ(turns_for_randr_rotation(2 | 8), 0);
    EXPECT_EQ(turns_for_randr_rotation(0xFFFFFFFFu), 0);
    EXPECT_EQ(turns_for_orientation(static_cast<SDL_DisplayOrientation>(99)), 0);
}

}  // namespace
}  // namespace tiltophon
