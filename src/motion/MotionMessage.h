// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "platform/Messages.h"

namespace tiltophon {

// Posted by a motion detector to the main window when it recognises a swing: first
// parameter the MotionCode, second parameter 0.
inline constexpr uint32_t kMotionMessage = msg::kApp + 1;

// Which axis swung, and which way the reading pointed when the swing was judged.
enum class MotionCode : uint32_t {
    kYNegative = 1,
    kYPositive = 2,
    kXNegative = 3,
    kXPositive = 4,
    kZ = 5,
};

}  // namespace tiltophon
