// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace tiltophon {

inline bool running_in_ci() {
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true";
}

}  // namespace tiltophon

// A test that cannot run on this machine says why and skips; under CI (CI=true) that
// is a failure instead, because a skip there hides whatever the test was meant to catch.
#define SKIP_OR_FAIL_IN_CI(why)                                                        \
    do {                                                                               \
        if (::tiltophon::running_in_ci()) GTEST_FAIL() << why << " (skips fail in CI)"; \
        GTEST_SKIP() << why;                                                           \
    } while (0)
