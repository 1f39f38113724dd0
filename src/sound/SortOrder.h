// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tiltophon {

// The orders in which the bank's sort leaves its entries, computed without moving
// them: element i of the result is the original position of the entry that ends up
// at position i. Keys compare ignoring letter case.
//
// Ascending: equal keys keep their relative order.
// Descending: the order that n bubble passes produce when every neighbouring pair
// whose left key is less than or equal to its right key is exchanged. Such passes
// also exchange equal keys, which shuffles them in a way the result reproduces
// exactly, in O(n log n) instead of the passes' O(n^2).
std::vector<std::size_t> ascending_order(const std::vector<std::u16string_view>& keys);
std::vector<std::size_t> descending_order(const std::vector<std::u16string_view>& keys);

}  // namespace tiltophon
