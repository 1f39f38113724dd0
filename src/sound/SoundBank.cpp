// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SoundBank.h"

#include <algorithm>
#include <array>
#include <unordered_set>
#include <utility>

#include "platform/Platform.h"
#include "sound/SortOrder.h"
#include "sound/SoundFiles.h"

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

// Names in the order the directory listing gives them: ignoring letter case, and
// names that differ only in case by their code units.
bool name_comes_before(std::u16string_view a, std::u16string_view b) {
    int order = compare_ignoring_case(a, b);
    return order != 0 ? order < 0 : a < b;
}

// A name that a field holds whole; a longer one would be cut into another name.
bool fits_field(std::u16string_view name) {
    return name.size() <= PathText::kCapacity;
}

// The libraries that are given.
std::vector<std::u16string_view> roots_of(std::u16string_view sounds_folder,
                                          std::u16string_view user_folder) {
    std::vector<std::u16string_view> roots{sounds_folder};
    if (!user_folder.empty()) roots.push_back(user_folder);
    return roots;
}

// One key for a set and file name; no name holds the separator.
std::u16string set_and_name(const SoundEntry& entry) {
    return entry.FolderName.str() + u'\0' + entry.FileName.str();
}

struct FoundSound {
    std::u16string name;
    PathText path;
};

}  // namespace

// A scan starts afresh, before anything holds an entry, so the old entries can go.
void SoundBank::Scan(std::u16string_view sounds_folder, std::u16string_view user_folder) {
    Clear();
    storage_.clear();
    std::vector<std::u16string_view> roots = roots_of(sounds_folder, user_folder);
    for (const std::u16string& set : SetNames(roots)) {
        for (const SoundEntry& entry : CollectSet(roots, set)) Append(entry);
    }
}

void SoundBank::ScanFolder(std::u16string_view sounds_folder, std::u16string_view folder_name) {
    std::array<std::u16string_view, 1> roots{sounds_folder};
    for (const SoundEntry& entry : CollectSet(roots, folder_name)) Append(entry);
}

int32_t SoundBank::AddNewSounds(std::u16string_view sounds_folder,
                                std::u16string_view user_folder) {
    std::vector<std::u16string_view> roots = roots_of(sounds_folder, user_folder);
    std::unordered_set<std::u16string> known;
    for (const SoundEntry* entry : order_) known.insert(set_and_name(*entry));
    int32_t added = 0;
    for (const std::u16string& set : SetNames(roots)) {
        for (const SoundEntry& entry : CollectSet(roots, set)) {
            if (!known.insert(set_and_name(entry)).second) continue;
            Insert(entry);
            ++added;
        }
    }
    return added;
}

std::vector<std::u16string> SoundBank::SetNames(std::span<const std::u16string_view> roots) {
    std::vector<std::u16string> names;
    FileSystem* files = platform().files;
    if (!files) return names;
    for (std::u16string_view root : roots) {
        for (DirectoryEntry& match : files->list_directory(root)) {
            if (!match.is_directory || !fits_field(match.name)) continue;
            if (std::find(names.begin(), names.end(), match.name) == names.end()) {
                names.push_back(std::move(match.name));
            }
        }
    }
    return names;
}

std::vector<SoundEntry> SoundBank::CollectSet(std::span<const std::u16string_view> roots,
                                              std::u16string_view folder_name) {
    std::vector<SoundEntry> entries;
    FileSystem* files = platform().files;
    if (!files) return entries;
    std::u16string big_name = concat(folder_name, u"B.png");
    std::u16string small_name = concat(folder_name, u"S.png");
    PathText big_path;
    PathText small_path;
    std::vector<FoundSound> sounds;
    bool added_by_later_root = false;

    for (std::size_t r = 0; r < roots.size(); ++r) {
        std::u16string folder = concat(roots[r], folder_name);
        std::vector<DirectoryEntry> listing = files->list_directory(folder);
        for (const DirectoryEntry& match : listing) {
            if (match.is_directory || !ends_with_ignoring_case(match.name, u".png")) continue;
            if (match.name == big_name) {
                big_path = join_path(folder, match.name);
            } else if (match.name == small_name) {
                small_path = join_path(folder, match.name);
            }
        }
        for (const DirectoryEntry& match : listing) {
            if (match.is_directory || !IsSoundFileName(match.name) || !fits_field(match.name)) {
                continue;
            }
            PathText path = join_path(folder, match.name);
            auto same = std::find_if(sounds.begin(), sounds.end(),
                                     [&](const FoundSound& s) { return s.name == match.name; });
            if (same != sounds.end()) {
                same->path = path;
            } else {
                sounds.push_back({match.name, path});
                added_by_later_root = added_by_later_root || r > 0;
            }
        }
    }
    // The pictures are looked for before the sounds and loaded even for a set without
    // sounds, as a set's pictures always have been.
    Image big_image = LoadImage(big_path);
    Image small_image = LoadImage(small_path);
    // One library's files come in its listing's order; a set that two libraries fill
    // is put back into that order as a whole.
    if (added_by_later_root) {
        std::stable_sort(sounds.begin(), sounds.end(), [](const FoundSound& a, const FoundSound& b) {
            return name_comes_before(a.name, b.name);
        });
    }
    for (const FoundSound& sound : sounds) {
        SoundEntry entry;
        entry.FolderName.assign(folder_name);
        entry.FileName.assign(sound.name);
        entry.FilePath = sound.path;
        entry.BigImage = big_image;
        entry.SmallImage = small_image;
        entries.push_back(entry);
    }
    return entries;
}

Image SoundBank::LoadImage(std::u16string_view path) {
    ImageCodec* images = platform().images;
    if (path.empty() || !images) return nullptr;
    std::u16string key(path);
    auto known = images_.find(key);
    if (known != images_.end()) return known->second.get();
    std::unique_ptr<Bitmap> bitmap = images->load_png(path);
    if (!bitmap) return nullptr;
    return (images_[key] = std::move(bitmap)).get();
}

void SoundBank::AddEntry(std::u16string_view folder_name, std::u16string_view file_name,
                         std::u16string_view file_path, Image big_image, Image small_image) {
    SoundEntry entry;
    entry.FolderName.assign(folder_name);
    entry.FileName.assign(file_name);
    entry.FilePath.assign(file_path);
    entry.BigImage = big_image;
    entry.SmallImage = small_image;
    Append(entry);
}

void SoundBank::Append(const SoundEntry& entry) {
    order_.push_back(&storage_.emplace_back(entry));
}

// Before the first entry of a later set, or of the same set with a later file name.
void SoundBank::Insert(const SoundEntry& entry) {
    auto after = std::find_if(order_.begin(), order_.end(), [&](const SoundEntry* e) {
        int folders = compare_ignoring_case(e->FolderName.view(), entry.FolderName.view());
        return folders > 0 ||
               (folders == 0 && name_comes_before(entry.FileName.view(), e->FileName.view()));
    });
    order_.insert(after, &storage_.emplace_back(entry));
}

void SoundBank::Sort(int32_t order) {
    bool by_folder = order == FolderAscending || order == FolderDescending;
    bool by_file = order == FileAscending || order == FileDescending;
    if (!by_folder && !by_file) return;

    std::vector<std::u16string_view> keys;
    keys.reserve(order_.size());
    for (const SoundEntry* entry : order_) {
        keys.push_back(by_folder ? entry->FolderName.view() : entry->FileName.view());
    }
    bool ascending = order == FolderAscending || order == FileAscending;
    std::vector<std::size_t> positions = ascending ? ascending_order(keys) : descending_order(keys);

    // The contents move between the bank's places, as exchanges would move them.
    std::vector<SoundEntry> sorted;
    sorted.reserve(order_.size());
    for (std::size_t position : positions) sorted.push_back(*order_[position]);
    for (std::size_t i = 0; i < sorted.size(); ++i) *order_[i] = sorted[i];
}

void SoundBank::Swap(int32_t first, int32_t second) {
    if (!EntryAt(first) || !EntryAt(second)) return;
    std::swap(*order_[first], *order_[second]);
}

void SoundBank::Clear() {
    order_.clear();
}

const SoundEntry* SoundBank::EntryAt(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return order_[index];
}

const SoundEntry* SoundBank::FindByName(std::u16string_view name) const {
    for (const SoundEntry* entry : order_) {
        if (entry->FileName == name) return entry;
    }
    return nullptr;
}

const SoundEntry* SoundBank::FindByFolderAndName(std::u16string_view folder,
                                                 std::u16string_view name) const {
    for (const SoundEntry* entry : order_) {
        if (entry->FolderName == folder && entry->FileName == name) return entry;
    }
    return FindByName(name);
}

}  // namespace tiltophon
