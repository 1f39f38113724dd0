// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <mutex>
#include <span>
#include <vector>

#include "platform/SoundRecorder.h"

namespace tiltophon {

// A microphone that hears what the test gives it. Safe from any thread.
class HeadlessSoundRecorder : public SoundRecorder {
public:
    // Whether a microphone is there to be opened (it is by default).
    void set_present(bool present);
    // Samples the open microphone hears next; nothing while no take runs.
    void hear(std::span<const float> samples);
    // The microphone stops working in the middle of the take.
    void fail();
    bool is_recording();

    bool start_take() override;
    bool take_failed() override;
    std::vector<float> end_take() override;

private:
    std::mutex mutex_;
    bool present_ = true;
    bool recording_ = false;
    bool failed_ = false;
    std::vector<float> take_;
};

}  // namespace tiltophon
