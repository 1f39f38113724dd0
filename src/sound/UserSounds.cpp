// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/UserSounds.h"

#include <string>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "sound/SoundFiles.h"

namespace tiltophon {

namespace {

constexpr std::string_view kReadme =
    "Your own sounds for Tiltophon\n"
    "\n"
    "Put each set of sounds in a folder of its own here; the folder's name is the\n"
    "set's name in the list. Sound files can be .wav, .flac, .ogg, .oga, .opus or .mp3.\n"
    "A set can have two pictures named after its folder: for a folder Drums,\n"
    "DrumsB.png (the big one, on the slot's button) and DrumsS.png (the small one, in\n"
    "the lists).\n"
    "\n"
    "A folder with the name of one of Tiltophon's own sets adds its sounds to that set,\n"
    "and a file with the same name as one of the set's own replaces it.\n"
    "\n"
    "Sounds dropped onto Tiltophon's window are copied into the folder \"My Sounds\".\n"
    "New files are in the list at the next start, dropped ones at once.\n";

}  // namespace

void PrepareUserSounds(std::u16string_view user_folder) {
    FileSystem* files = platform().files;
    if (user_folder.empty() || !files) return;
    switch (files->make_folders(user_folder)) {
        case FolderResult::kCreated:
            files->write_new_file(std::u16string(user_folder) + u"README.txt", kReadme);
            break;
        case FolderResult::kExisted:
            files->remove_unfinished_copies(std::u16string(user_folder) +
                                            std::u16string(kDroppedSoundsSet));
            break;
        case FolderResult::kFailed:
            break;
    }
}

std::u16string NumberedName(std::u16string_view name, int number) {
    if (number <= 1) return std::u16string(name);
    std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || dot == 0) dot = name.size();
    std::u16string numbered(name.substr(0, dot));
    numbered += u" (" + utf16_from_utf8(std::to_string(number)) + u")";
    numbered += name.substr(dot);
    return numbered;
}

std::u16string_view FileNameOf(std::u16string_view path) {
    std::size_t slash = path.rfind(kPathSeparator);
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

bool ImportDroppedSound(std::u16string_view path, std::u16string_view user_folder,
                        const CopyCancelled& cancelled) {
    FileSystem* files = platform().files;
    SoundFileCheck* check = platform().sound_check;
    std::u16string_view name = FileNameOf(path);
    if (!files || !check || user_folder.empty() || !IsSoundFileName(name)) return false;
    // The first bytes rule out most other files before the whole file is read.
    if (!LooksLikeSound(files->read_head(path, kSoundSniffBytes))) return false;
    if (!check->would_play(path)) return false;

    std::u16string set_folder = std::u16string(user_folder) + std::u16string(kDroppedSoundsSet);
    if (files->make_folders(set_folder) == FolderResult::kFailed) return false;
    for (int number = 1; number <= kMaxNameNumber; ++number) {
        std::u16string target = set_folder + kPathSeparator + NumberedName(name, number);
        // The bank would leave out a sound whose path does not fit.
        if (target.size() > PathText::kCapacity) return false;
        switch (files->copy_new_file(path, target, kMaxDroppedSoundBytes, cancelled)) {
            case CopyResult::kCopied:
                return true;
            case CopyResult::kNameTaken:
                continue;
            case CopyResult::kFailed:
                return false;
        }
    }
    return false;
}

}  // namespace tiltophon
