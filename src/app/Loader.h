// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>

namespace tiltophon {

// One reported step of the start-up loader: the splash screen shows the message
// and percent, then the work runs.
struct LoaderStep {
    const char16_t* message;
    uint32_t percent;
    void (*work)();
};

constexpr uint32_t kLoaderStepPauseMs = 10;
constexpr uint32_t kLoaderMinimumMs = 2000;

// The eleven steps that build the program, in order.
std::span<const LoaderStep> loader_steps();

// Works through the steps, pausing after each, keeps the splash screen up for at
// least kLoaderMinimumMs from its start, then clears `loading` and asks for a
// repaint. Once a stop is requested, the steps not yet begun and the remaining
// waits are skipped. Returns 1.
uint32_t run_loader(std::span<const LoaderStep> steps);
uint32_t loader_thread();

// Starts loader_thread on a thread of its own (on the caller when the platform has
// no thread runner).
void start_loader();
// Waits until a started loader has ended; at once when none runs.
void wait_for_loader();
// Makes a running loader skip what it has not begun, and waits for its end.
void stop_loader();
bool loader_stop_requested();

}  // namespace tiltophon
