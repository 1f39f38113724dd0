// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/SoundRecorder.h"

namespace tiltophon {

// 16-bit FLAC through libsndfile, made in memory so that the file system writes it
// whole or not at all. Safe from any thread.
class FlacEncoder : public SoundEncoder {
public:
    std::string flac(std::span<const float> samples, int rate) override;
};

}  // namespace tiltophon
