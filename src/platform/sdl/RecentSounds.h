// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sdl/SoundDecoder.h"

namespace tiltophon {

// Decoded sounds that are not kept ready, remembered for a while so that playing one
// again does not decode it again: at most `count` sounds of at most `bytes` bytes
// together, the one played least recently going first. Finding a sound allocates
// nothing. Not thread-safe: its owner guards it.
class RecentSounds {
public:
    RecentSounds(std::size_t count, std::size_t bytes) : count_(count), bytes_(bytes) {}

    // The sound decoded from `path`, marked as played just now; null when not kept.
    std::shared_ptr<const DecodedSound> find(std::u16string_view path);
    // Remembers the sound, forgetting the least recently played ones as the limits
    // ask; a sound larger than all the room is not kept. Returns what it forgot, to
    // be freed wherever the caller likes.
    std::vector<std::shared_ptr<const DecodedSound>> keep(
        std::u16string_view path, std::shared_ptr<const DecodedSound> sound);
    // Forgets the sound of `path` and hands it back (null when not kept).
    std::shared_ptr<const DecodedSound> take(std::u16string_view path);
    // Forgets every sound and hands them back.
    std::vector<std::shared_ptr<const DecodedSound>> take_all();

    // True when the sound of `path` is kept; unlike `find`, not a use.
    bool contains(std::u16string_view path) const;
    std::size_t size() const { return entries_.size(); }
    std::size_t bytes() const;

private:
    struct Entry {
        std::u16string path;
        std::shared_ptr<const DecodedSound> sound;
        uint64_t played = 0;
    };

    std::vector<Entry>::iterator entry_of(std::u16string_view path);
    std::vector<Entry>::const_iterator entry_of(std::u16string_view path) const;

    std::size_t count_;
    std::size_t bytes_;
    std::vector<Entry> entries_;
    uint64_t clock_ = 0;
};

}  // namespace tiltophon
