// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tiltophon {

using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;

// Window message numbers. The program's window procedure dispatches on these; the
// real backend turns its events into them.
namespace msg {
constexpr uint32_t kCreate = 0x0001;
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kSize = 0x0005;
constexpr uint32_t kActivate = 0x0006;
constexpr uint32_t kPaint = 0x000F;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kQuit = 0x0012;
constexpr uint32_t kEraseBackground = 0x0014;
// Keys: the first parameter is the key's character code. The digit keys give '0' to
// '9' by their place on the keyboard, whatever its layout, and so do the keypad's.
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kCommand = 0x0111;
constexpr uint32_t kTimer = 0x0113;
constexpr uint32_t kPenMove = 0x0200;
constexpr uint32_t kPenDown = 0x0201;
constexpr uint32_t kPenUp = 0x0202;
// Files were dropped onto the window; `Window::take_dropped_files` gives their paths.
constexpr uint32_t kDropFiles = 0x0233;
constexpr uint32_t kApp = 0x8000;  // first private message number
}  // namespace msg

// Codes of the keys that work the pages, below the digits' character codes; the second
// parameter of their key messages carries the flags.
namespace key {
constexpr uintptr_t kTab = 0x09;
constexpr uintptr_t kEnter = 0x0D;
constexpr uintptr_t kEscape = 0x1B;
constexpr uintptr_t kSpace = 0x20;
constexpr uintptr_t kLeft = 0x25;
constexpr uintptr_t kUp = 0x26;
constexpr uintptr_t kRight = 0x27;
constexpr uintptr_t kDown = 0x28;
// The keyboard's Stop media key.
constexpr uintptr_t kStop = 0xB2;
// Flags: Shift held; the key is held down and this is its automatic repetition.
constexpr intptr_t kShift = 0x1;
constexpr intptr_t kRepeat = 0x2;
}  // namespace key

// First parameter of the activate message.
namespace activate {
constexpr WParam kInactive = 0;
constexpr WParam kActive = 1;
constexpr WParam kClickActive = 2;
}  // namespace activate

// Pen positions travel as x in the low 16 bits and y in the high 16 bits.
constexpr LParam make_point_param(uint16_t x, uint16_t y) {
    return static_cast<LParam>(static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16));
}
constexpr uint16_t low_word(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
constexpr uint16_t high_word(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }

struct Message {
    uint32_t message = 0;
    WParam wparam = 0;
    LParam lparam = 0;
};

}  // namespace tiltophon
