// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <string>
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

// The catalogue of every sound of the library: one entry per sound file in each
// sub-folder (sound set) of the program's library and then of the user's own, which
// has the same layout. Filled at start-up; afterwards entries are only added, never
// moved or changed, so that the slots, the list and playback may keep pointers to them.
class SoundBank {
public:
    // Clears the bank and adds the sets found in `sounds_folder` and then in
    // `user_folder` (none when empty), both ending with '/'. A user set of a name the
    // library has adds its sounds to that set; a user file of the same set and name
    // (pictures included) replaces the library's.
    void Scan(std::u16string_view sounds_folder, std::u16string_view user_folder = {});
    // Adds the sound files of one set, each with the set's big and small picture.
    void ScanFolder(std::u16string_view sounds_folder, std::u16string_view folder_name);
    // Adds what a new scan of the same folders finds that the bank has no entry of
    // (by set and file name), each where the folder-ascending order puts it. Entries
    // already there stay untouched, also when a user file would now replace them; that
    // waits for the next start. Returns the number of entries added.
    int32_t AddNewSounds(std::u16string_view sounds_folder, std::u16string_view user_folder);
    // An empty text gives an empty field; texts are cut to 259 units.
    void AddEntry(std::u16string_view folder_name, std::u16string_view file_name,
                  std::u16string_view file_path, Image big_image, Image small_image);
    void Sort(int32_t order);
    // Exchanges two entries; positions outside the bank change nothing.
    void Swap(int32_t first, int32_t second);
    // Empties the bank; the entries themselves stay until the next Scan, since a
    // playback thread may still read the one it was handed.
    void Clear();

    int32_t Count() const { return static_cast<int32_t>(order_.size()); }
    // Null for a position outside 0 .. Count() - 1.
    const SoundEntry* EntryAt(int32_t index) const;
    // The first entry, in the bank's order, whose file name equals `name` exactly.
    const SoundEntry* FindByName(std::u16string_view name) const;
    // The entry with exactly this folder and file name; when no entry has both, the
    // first with the file name alone, so that names saved without a folder still work.
    const SoundEntry* FindByFolderAndName(std::u16string_view folder,
                                          std::u16string_view name) const;

private:
    // The set names of the libraries, the first library's first, each once.
    std::vector<std::u16string> SetNames(std::span<const std::u16string_view> roots);
    // The entries of one set over the libraries that have it, later ones replacing
    // files and pictures of the same name.
    std::vector<SoundEntry> CollectSet(std::span<const std::u16string_view> roots,
                                       std::u16string_view folder_name);
    void Append(const SoundEntry& entry);
    void Insert(const SoundEntry& entry);
    Image LoadImage(std::u16string_view path);

    // Entries never move in storage; `order_` is the bank's order. Sorting and
    // swapping exchange contents, as the start-up sort always has.
    std::deque<SoundEntry> storage_;
    std::vector<SoundEntry*> order_;
    // Pictures of every set ever scanned, by path; entries borrow them, clearing keeps
    // them, and a later scan takes them from here instead of decoding them again.
    std::map<std::u16string, std::unique_ptr<Bitmap>> images_;
};

}  // namespace tiltophon
