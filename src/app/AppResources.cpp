// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AppResources.h"

#include "platform/Platform.h"

namespace tiltophon {

namespace {

// The program's own folder, with the separator at its end; empty when unknown.
PathText program_folder() {
    if (!platform().files) return {};
    const std::u16string program = platform().files->program_path();
    const std::size_t separator = program.rfind(kPathSeparator);
    if (separator == std::u16string::npos) return {};
    return PathText(std::u16string_view(program).substr(0, separator + 1));
}

Image load_picture(const PathText& folder, std::u16string_view file,
                   std::unique_ptr<Bitmap>& storage) {
    PathText path(folder);
    path.append(file);
    storage = platform().images ? platform().images->load_png(path.view()) : nullptr;
    return storage.get();
}

// A picture with words in it: the one of the captions' language ("de/donate-up.png")
// when there is one, else the folder's own.
Image load_worded_picture(const PathText& folder, std::u16string_view file,
                          std::unique_ptr<Bitmap>& storage) {
    if (const std::u16string language = caption_language(); !language.empty()) {
        PathText language_folder(folder);
        language_folder.append(language).append(u"/");
        if (Image image = load_picture(language_folder, file, storage)) return image;
    }
    return load_picture(folder, file, storage);
}

}  // namespace

AppResources::AppResources(std::u16string_view folder) : instance(folder) {}

void AppResources::load() {
    const PathText folder = instance.empty() ? program_folder() : instance;
    icon = load_picture(folder, kIconFile, icon_storage_);
    splash_bitmap = load_worded_picture(folder, kSplashFile, splash_storage_);
    about_picture = load_worded_picture(folder, kAboutFile, about_storage_);
    donate_up = load_worded_picture(folder, kDonateUpFile, donate_up_storage_);
    donate_down = load_worded_picture(folder, kDonateDownFile, donate_down_storage_);
    record_up = load_picture(folder, kRecordUpFile, record_up_storage_);
    record_down = load_picture(folder, kRecordDownFile, record_down_storage_);
    record_on = load_picture(folder, kRecordOnFile, record_on_storage_);
    record_mask = load_picture(folder, kRecordMaskFile, record_mask_storage_);
}

void AppResources::release() {
    splash_storage_.reset();
    about_storage_.reset();
    donate_up_storage_.reset();
    donate_down_storage_.reset();
    record_up_storage_.reset();
    record_down_storage_.reset();
    record_on_storage_.reset();
    record_mask_storage_.reset();
    icon = nullptr;
    splash_bitmap = nullptr;
    about_picture = nullptr;
    donate_up = nullptr;
    donate_down = nullptr;
    record_up = nullptr;
    record_down = nullptr;
    record_on = nullptr;
    record_mask = nullptr;
}

}  // namespace tiltophon
