// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/RecentSounds.h"

#include <algorithm>

namespace tiltophon {

std::shared_ptr<const DecodedSound> RecentSounds::find(std::u16string_view path) {
    auto entry = entry_of(path);
    if (entry == entries_.end()) return nullptr;
    entry->played = ++clock_;
    return entry->sound;
}

std::vector<std::shared_ptr<const DecodedSound>> RecentSounds::keep(
    std::u16string_view path, std::shared_ptr<const DecodedSound> sound) {
    std::vector<std::shared_ptr<const DecodedSound>> forgotten;
    if (std::shared_ptr<const DecodedSound> old = take(path)) forgotten.push_back(std::move(old));
    if (!sound || count_ == 0 || sound->bytes.size() > bytes_) {
        forgotten.push_back(std::move(sound));
        return forgotten;
    }
    while (!entries_.empty() &&
           (entries_.size() >= count_ || bytes() + sound->bytes.size() > bytes_)) {
        auto oldest =
            std::min_element(entries_.begin(), entries_.end(),
                             [](const Entry& a, const Entry& b) { return a.played < b.played; });
        forgotten.push_back(std::move(oldest->sound));
        entries_.erase(oldest);
    }
    entries_.push_back({std::u16string(path), std::move(sound), ++clock_});
    return forgotten;
}

std::shared_ptr<const DecodedSound> RecentSounds::take(std::u16string_view path) {
    auto entry = entry_of(path);
    if (entry == entries_.end()) return nullptr;
    std::shared_ptr<const DecodedSound> sound = std::move(entry->sound);
    entries_.erase(entry);
    return sound;
}

std::vector<std::shared_ptr<const DecodedSound>> RecentSounds::take_all() {
    std::vector<std::shared_ptr<const DecodedSound>> all;
    for (Entry& entry : entries_) all.push_back(std::move(entry.sound));
    entries_.clear();
    return all;
}

bool RecentSounds::contains(std::u16string_view path) const {
    return entry_of(path) != entries_.end();
}

std::size_t RecentSounds::bytes() const {
    std::size_t total = 0;
    for (const Entry& entry : entries_) total += entry.sound->bytes.size();
    return total;
}

std::vector<RecentSounds::Entry>::iterator RecentSounds::entry_of(std::u16string_view path) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& entry) { return entry.path == path; });
}

std::vector<RecentSounds::Entry>::const_iterator RecentSounds::entry_of(
    std::u16string_view path) const {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& entry) { return entry.path == path; });
}

}  // namespace tiltophon
