// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

#include "platform/Geometry.h"
#include "platform/Window.h"

namespace tiltophon {

class Control;

// The screens subsystem as the shell and the loader call it.

// Builds every page, bar and control, all hidden until navigation shows them. 1.
int build_screens();
// Composes the frame from the transition pictures while a page transition runs;
// false when none runs.
bool compose_frame(Window* window, int32_t left, int32_t top, int32_t right, int32_t bottom);
// The command message of the controls.
LResult on_command(Window* window, uint32_t message, WParam first, LParam second);
// Settings record to detectors and controls, and back. 0, or 0x8007000E at the first
// missing object. Collecting before the settings were applied leaves the record as
// it was loaded.
int32_t apply_settings();
int32_t collect_settings();
// Keys 1 to 5 (the key messages' codes) play slots 1 to 5 as touching their Home
// buttons does; key 0 and the Stop media key end every sound playing. Other keys, and
// keys before loading has finished, do nothing.
constexpr int32_t kSlotKeyCount = 5;
void on_slot_key(Window* window, uint32_t message, WParam key);
// The caption of the two switches: "On" or "Off" in the user's language.
std::u16string switch_caption(bool on);
// Tab and Shift+Tab, Enter and Space, the arrows and Escape (the key messages' codes
// and flags): the focus moves through the controls on screen and uses them as a touch
// would. Other keys, and keys before loading has finished, do nothing.
void on_focus_key(Window* window, uint32_t message, WParam key, LParam flags);
// The controls the focus visits on the page on screen, in reading order.
std::vector<Control*> focus_order();
// The ring around the focused control in the skin's accent colour, once a key has
// been pressed; nothing before, so the pages look as they always did to the pen.
void paint_focus_ring(Bitmap& frame);
// The player follows the "Sounds overlap" switch.
void apply_sounds_overlap();
// Touch vibration on or off for every control that reacts to the pen.
void set_touch_vibration(bool on);

// Navigation. Each first stops motion detection and the keep-awake timer and shows
// the motion switch "Off"; with `repaint` it ends by invalidating the whole window.
// None starts a transition: that is the caller's.
void show_frame(uint32_t id, bool repaint);
void show_screen(uint32_t id, bool repaint);
void show_tab(uint32_t id, bool from_tap, bool repaint);
// The stop-motion step on its own.
void stop_motion_and_keep_awake();

}  // namespace tiltophon
