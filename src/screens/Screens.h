#pragma once

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Window.h"

namespace tiltophon {

// The screens subsystem as the shell and the loader call it.

// Builds every page, bar and control.
int build_screens();
// Composes the frame from the transition pictures while a page transition runs;
// false when none runs.
bool compose_frame(Window* window, int32_t left, int32_t top, int32_t right, int32_t bottom);
// The command message of the controls.
LResult on_command(Window* window, uint32_t message, WParam first, LParam second);
// Settings record to detectors and controls, and back.
int32_t apply_settings();
int32_t collect_settings();
void set_touch_vibration(bool on);

// Navigation.
void show_frame(uint32_t id, bool repaint);
void show_screen(uint32_t id, bool repaint);
void show_tab(uint32_t id, bool from_tap, bool repaint);

}  // namespace tiltophon
