// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

#include "motion/MotionMessage.h"
#include "motion/SensorBinding.h"
#include "platform/Window.h"

namespace tiltophon {

class FakeLibraryLoader;

// A sensor library for the tests, registered with the headless library loader. Its
// read entry fills X, Y and Z from the current reading and the other 14 bytes with
// garbage. The reading is either set by hand or taken from a trace on virtual time.
namespace fake_sensor {

struct Entries {
    bool open = true;
    bool close = true;
    bool read = true;
};

// Registers the library under the sensor library's name; clears all state.
void install(FakeLibraryLoader& loader, Entries entries = {});

void set_reading(int16_t x, int16_t y, int16_t z);
// From virtual time `start_ms` on, each 50 ms period reads the next trace sample;
// the last one stays.
void play(std::vector<SampleRecord> trace, uint32_t start_ms);

constexpr SensorHandle kHandle = 0xC0DE0042u;

struct Calls {
    int opens = 0;
    uint32_t open_kind = 0;
    int closes = 0;
    SensorHandle closed_handle = 0;
    int reads = 0;
    SensorHandle read_handle = 0xFFFFFFFFu;
};
const Calls& calls();

}  // namespace fake_sensor

// A window procedure that keeps every motion message the window receives.
LResult record_motion(Window* window, uint32_t message, WParam first, LParam second);
std::vector<Message>& motion_messages();
// The codes of the motion messages received so far; forgets them.
std::vector<MotionCode> take_motion_codes();

inline SampleRecord reading(int16_t x, int16_t y, int16_t z) {
    SampleRecord record;
    record.x = x;
    record.y = y;
    record.z = z;
    return record;
}

}  // namespace tiltophon
