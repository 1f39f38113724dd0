// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include "Pictures.h"

namespace tiltophon::skingen {

// Mock-ups of the Home, Sounds, Settings and pick pages put together from the pictures
// the way the program places them, above every picture on its own.
Bitmap contact_sheet(const std::vector<Picture>& pictures);

}  // namespace tiltophon::skingen
