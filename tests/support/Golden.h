// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "platform/Bitmap.h"

namespace tiltophon::test {

// Compares a picture with the reference image tests/golden/NAME.png, pixel for pixel:
//
//   EXPECT_TRUE(test::matches_golden(frame, "splash_50"));
//
// On a mismatch (or with no reference yet) it writes NAME_err.png, the picture it got,
// and NAME_diff.png, the reference dimmed with every differing pixel in red, into the
// folder golden-failures/ beside the test executable, and says where they are.
// With TILTOPHON_UPDATE_GOLDEN=1 in the environment it writes the picture as the new
// reference instead and passes; check the new image before committing it.
::testing::AssertionResult matches_golden(const Bitmap& actual, std::string_view name);

}  // namespace tiltophon::test
