// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The guards that keep a CI run from passing by accident.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Bitmap.h"
#include "support/CiSkip.h"
#include "support/Golden.h"
#include "support/ScopedEnv.h"

namespace tiltophon {
namespace {

void skip_for_a_missing_tool() { SKIP_OR_FAIL_IN_CI("xdotool is not installed"); }

TEST(CiGuards, ASkipIsAFailureUnderCi) {
    ScopedEnv ci("CI", "true");
    EXPECT_FATAL_FAILURE(skip_for_a_missing_tool(), "xdotool is not installed (skips fail in CI)");
}

TEST(CiGuards, OnlyCiEqualToTrueCountsAsCi) {
    {
        ScopedEnv ci("CI", nullptr);
        EXPECT_FALSE(running_in_ci());
    }
    {
        ScopedEnv ci("CI", "false");
        EXPECT_FALSE(running_in_ci());
    }
    ScopedEnv ci("CI", "true");
    EXPECT_TRUE(running_in_ci());
}

TEST(CiGuards, UpdatingTheGoldenImagesIsRefusedUnderCi) {
    ScopedEnv ci("CI", "true");
    ScopedEnv update("TILTOPHON_UPDATE_GOLDEN", "1");
    const std::string name = "ci_guard_never_written";
    const auto reference =
        std::filesystem::path(TILTOPHON_SOURCE_DIR) / "tests" / "golden" / (name + ".png");

    Bitmap picture(4, 4);
    ::testing::AssertionResult result = test::matches_golden(picture, name);
    EXPECT_FALSE(result) << "an update run passed under CI";
    EXPECT_FALSE(std::filesystem::exists(reference)) << "it wrote " << reference;
}

}  // namespace
}  // namespace tiltophon
