// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tiltophon {

// Appends the values "1" to "10", in this order, to each existing sensitivity selector
// (X, Y, Z); value index i stands for sensitivity i + 1.
void FillSensitivityChoices();

}  // namespace tiltophon
