// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tiltophon {

// The force feedback of one input-event device (a phone's vibration motor, a game
// controller's rumble): an effect is uploaded with its length, played, and erased.
class ForceFeedbackDevice {
public:
    virtual ~ForceFeedbackDevice() = default;
    // Uploads one full-strength effect of `duration_ms`; its id, or -1 when the device
    // refuses it.
    virtual int upload(uint32_t duration_ms) = 0;
    // Starts the uploaded effect; false when the device refuses.
    virtual bool play(int effect) = 0;
    // Ends and forgets the effect.
    virtual void erase(int effect) = 0;
};

// Opens an input-event device file for force feedback: a rumble effect where the
// device has one, else a periodic one (the phones' motors). Null when the file cannot
// be opened for writing or offers neither.
std::unique_ptr<ForceFeedbackDevice> open_force_feedback(const std::string& path);

}  // namespace tiltophon
