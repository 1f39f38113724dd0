// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SoundFiles.h"

#include <array>

#include "platform/Text.h"

namespace tiltophon {

namespace {

constexpr std::array<std::u16string_view, 6> kSoundExtensions = {u".wav", u".flac", u".ogg",
                                                                  u".oga", u".opus", u".mp3"};

bool starts_with(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// An MPEG audio frame header: eleven set sync bits, then a version and a layer that
// are not the reserved values.
bool is_mpeg_frame(std::string_view bytes) {
    if (bytes.size() < 2) return false;
    auto first = static_cast<unsigned char>(bytes[0]);
    auto second = static_cast<unsigned char>(bytes[1]);
    bool sync = first == 0xFF && (second & 0xE0) == 0xE0;
    bool version_ok = (second & 0x18) != 0x08;
    bool layer_ok = (second & 0x06) != 0x00;
    return sync && version_ok && layer_ok;
}

}  // namespace

bool IsSoundFileName(std::u16string_view name) {
    for (std::u16string_view extension : kSoundExtensions) {
        if (name.size() > extension.size() && ends_with_ignoring_case(name, extension)) return true;
    }
    return false;
}

bool LooksLikeSound(std::string_view head) {
    bool riff = starts_with(head, "RIFF") || starts_with(head, "RF64") || starts_with(head, "BW64");
    if (riff) return head.size() >= 12 && head.substr(8, 4) == "WAVE";
    return starts_with(head, "fLaC") || starts_with(head, "OggS") || starts_with(head, "ID3") ||
           is_mpeg_frame(head);
}

}  // namespace tiltophon
