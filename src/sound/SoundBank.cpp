// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SoundBank.h"

#include <algorithm>
#include <utility>

#include "platform/Platform.h"
#include "sound/SortOrder.h"

namespace tiltophon {

namespace {

// Folder + '/' + name, or an empty path when the whole of it does not fit: a cut path
// could name another file.
PathText join_path(std::u16string_view folder, std::u16string_view name) {
    PathText path(folder);
    path.append(std::u16string_view(&kPathSeparator, 1)).append(name);
    if (path.length() != folder.size() + 1 + name.size()) path.clear();
    return path;
}

std::u16string concat(std::u16string_view a, std::u16string_view b) {
    std::u16string text(a);
    text += b;
    return text;
}

}  // namespace

void SoundBank::Scan(std::u16string_view sounds_folder) {
    Clear();
    FileSystem* files = platform().files;
    if (!files) return;
    for (const DirectoryEntry& match : files->list_directory(sounds_folder)) {
        if (match.is_directory) ScanFolder(sounds_folder, match.name);
    }
}

void SoundBank::ScanFolder(std::u16string_view sounds_folder, std::u16string_view folder_name) {
    FileSystem* files = platform().files;
    if (!files) return;
    std::u16string folder = concat(sounds_folder, folder_name);
    std::u16string big_name = concat(folder_name, u"B.png");
    std::u16string small_name = concat(folder_name, u"S.png");
    std::vector<DirectoryEntry> listing = files->list_directory(folder);

    Image big_image = nullptr;
    Image small_image = nullptr;
    for (const DirectoryEntry& match : listing) {
        if (match.is_directory || !ends_with_ignoring_case(match.name, u".png")) continue;
        if (match.name == big_name) {
            big_image = LoadImage(join_path(folder, match.name));
        } else if (match.name == small_name) {
            small_image = LoadImage(join_path(folder, match.name));
        }
    }
    for (const DirectoryEntry& match : listing) {
        if (match.is_directory || !ends_with_ignoring_case(match.name, u".wav")) continue;
        AddEntry(folder_name, match.name, join_path(folder, match.name), big_image, small_image);
    }
}

Image SoundBank::LoadImage(std::u16string_view path) {
    ImageCodec* images = platform().images;
    if (path.empty() || !images) return nullptr;
    std::unique_ptr<Bitmap> bitmap = images->load_png(path);
    if (!bitmap) return nullptr;
    images_.push_back(std::move(bitmap));
    return images_.back().get();
}

void SoundBank::AddEntry(std::u16string_view folder_name, std::u16string_view file_name,
                         std::u16string_view file_path, Image big_image, Image small_image) {
    SoundEntry entry;
    entry.FolderName.assign(folder_name);
    entry.FileName.assign(file_name);
    entry.FilePath.assign(file_path);
    entry.BigImage = big_image;
    entry.SmallImage = small_image;
    entries_.push_back(entry);
}

void SoundBank::Sort(int32_t order) {
    bool by_folder = order == FolderAscending || order == FolderDescending;
    bool by_file = order == FileAscending || order == FileDescending;
    if (!by_folder && !by_file) return;

    std::vector<std::u16string_view> keys;
    keys.reserve(entries_.size());
    for (const SoundEntry& entry : entries_) {
        keys.push_back(by_folder ? entry.FolderName.view() : entry.FileName.view());
    }
    bool ascending = order == FolderAscending || order == FileAscending;
    std::vector<std::size_t> positions = ascending ? ascending_order(keys) : descending_order(keys);

    // The entries move within the bank's own storage, as exchanges would move them.
    std::vector<SoundEntry> sorted;
    sorted.reserve(entries_.size());
    for (std::size_t position : positions) sorted.push_back(entries_[position]);
    std::copy(sorted.begin(), sorted.end(), entries_.begin());
}

void SoundBank::Swap(int32_t first, int32_t second) {
    if (!EntryAt(first) || !EntryAt(second)) return;
    std::swap(entries_[first], entries_[second]);
}

void SoundBank::Clear() {
    entries_.clear();
}

const SoundEntry* SoundBank::EntryAt(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &entries_[index];
}

const SoundEntry* SoundBank::FindByName(std::u16string_view name) const {
    for (const SoundEntry& entry : entries_) {
        if (entry.FileName == name) return &entry;
    }
    return nullptr;
}

const SoundEntry* SoundBank::FindByFolderAndName(std::u16string_view folder,
                                                 std::u16string_view name) const {
    for (const SoundEntry& entry : entries_) {
        if (entry.FolderName == folder && entry.FileName == name) return &entry;
    }
    return FindByName(name);
}

}  // namespace tiltophon
