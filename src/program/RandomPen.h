// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "program/HeadlessProgram.h"

namespace tiltophon {

class Control;

// Random use of the whole program on the headless backend, for fuzzing and soak runs:
// pen events at random points or on random controls of the pages shown, drags, and
// virtual time passing. The choices come from the caller: a fuzzer's input or a
// seeded generator.
class RandomPen {
public:
    // A number from 0 to `bound` - 1.
    using Choose = std::function<uint32_t(uint32_t bound)>;

    explicit RandomPen(HeadlessProgram& program) : program_(program) {}

    // Pen-downs never land on this control while it is shown (a soak keeps the close
    // button out of reach, so that the session is not ended by it).
    void avoid(const Control* control) { avoided_.push_back(control); }

    // One step. False, doing nothing, once the program's window is gone.
    bool step(const Choose& choose);

    // Pen events delivered so far (a tap counts two, a drag its downs, moves and up).
    uint64_t events() const { return events_; }

private:
    struct Spot {
        int32_t x = 0;
        int32_t y = 0;
    };

    Spot any_spot(const Choose& choose) const;
    // A point on one of the controls the user can see, or anywhere when none.
    Spot control_spot(const Choose& choose) const;
    bool reachable(const Spot& spot) const;
    void down(const Spot& spot);
    void move(const Spot& spot);
    void up(const Spot& spot);
    void post(uint32_t message, const Spot& spot);

    HeadlessProgram& program_;
    std::vector<const Control*> avoided_;
    uint64_t events_ = 0;
};

}  // namespace tiltophon
