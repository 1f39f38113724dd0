// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <vector>

#include "platform/media/SoundSource.h"

namespace tiltophon {

// True when the bytes are MPEG audio (an MP3): an MPEG frame where the file starts,
// after any ID3v2 tags and the zeros that pad them.
bool looks_like_mpeg_audio(const std::vector<uint8_t>& bytes);

// MPEG audio (MP3, and layers I and II) through libmpg123, as 32-bit floats. The
// length is what a scan of every frame finds, not what the first frame's bit rate
// suggests, so a file without an Info frame plays whole; junk between frames is
// skipped. Null when no frame can be found, when the sound has no samples, or when an
// Info frame counts more frames than the file holds (a cut-off download).
std::unique_ptr<SoundSource> open_mpeg_source(const std::vector<uint8_t>& bytes);

}  // namespace tiltophon
