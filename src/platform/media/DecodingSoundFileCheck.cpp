// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/DecodingSoundFileCheck.h"

#include "platform/SoundLimits.h"
#include "platform/Text.h"
#include "platform/media/SoundSource.h"

namespace tiltophon {

bool DecodingSoundFileCheck::would_play(std::u16string_view path) {
    const std::vector<uint8_t> bytes = read_sound_file(utf8_from_utf16(path));
    std::unique_ptr<SoundSource> source = open_sound_source(bytes);
    if (!source) return false;
    const int64_t length = source->frames();
    if (length > int64_t(kMaxSoundSeconds) * source->rate()) return false;

    const int64_t second = source->rate();
    std::vector<uint8_t> part(std::size_t(second) * source->frame_bytes());
    const int64_t got = source->read(part.data(), second);
    // A sound shorter than a second has been decoded whole, and must be as long as
    // its file says.
    return got > 0 && (got == second || got >= length || !source->length_is_exact());
}

}  // namespace tiltophon
