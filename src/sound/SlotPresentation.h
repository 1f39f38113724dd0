// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tiltophon {

// Puts slot n's sound into its Home grid button (the big picture) and its Sounds page
// row (small picture, folder name, file name). 1 when done; 0, with the controls left
// as they are, when there is no slot record, n is not a slot or the slot is empty.
// Repainting is the caller's.
int ShowSlot(int32_t n);

// Appends one row per sound of the bank to the pick screen's list, in the bank's
// order, and leaves nothing selected. Each row keeps the address of its entry.
void FillSoundList();

// After sounds were added to the bank: puts a row for each entry the list lacks at the
// entry's place, keeping the selected row and the scroll position. Returns the number
// of rows added; repainting is the caller's.
int32_t AddNewSoundsToList();

}  // namespace tiltophon
