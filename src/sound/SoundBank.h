// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "sound/SoundEntry.h"

namespace tiltophon {

// Orders of `SoundBank::Sort`; any other value leaves the bank as it is.
enum SortOrder : int32_t {
    FolderAscending = 0,
    FolderDescending = 1,
    FileAscending = 2,
    FileDescending = 3,
};

// The catalogue of every sound in the library folder: one entry per WAV file in each
// sub-folder (sound set). Filled once at start-up, read-only afterwards.
class SoundBank {
public:
    // Clears the bank and adds the sets found in `sounds_folder`, which ends with '/'.
    void Scan(std::u16string_view sounds_folder);
    // Adds the WAV files of one set, each with the set's big and small picture.
    void ScanFolder(std::u16string_view sounds_folder, std::u16string_view folder_name);
    // An empty text gives an empty field; texts are cut to 259 units.
    void AddEntry(std::u16string_view folder_name, std::u16string_view file_name,
                  std::u16string_view file_path, Image big_image, Image small_image);
    void Sort(int32_t order);
    // Exchanges two entries; positions outside the bank change nothing.
    void Swap(int32_t first, int32_t second);
    void Clear();

    int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
    // Null for a position outside 0 .. Count() - 1.
    const SoundEntry* EntryAt(int32_t index) const;
    // The first entry, in the bank's order, whose file name equals `name` exactly.
    const SoundEntry* FindByName(std::u16string_view name) const;
    // The entry with exactly this folder and file name; when no entry has both, the
    // first with the file name alone, so that names saved without a folder still work.
    const SoundEntry* FindByFolderAndName(std::u16string_view folder,
                                          std::u16string_view name) const;

private:
    Image LoadImage(std::u16string_view path);

    std::vector<SoundEntry> entries_;
    // Pictures of every set ever scanned; entries borrow them, clearing keeps them.
    std::vector<std::unique_ptr<Bitmap>> images_;
};

}  // namespace tiltophon
