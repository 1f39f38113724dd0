// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the default skin, the program's own pictures and the pictures of the default
// sound sets into a program folder:
//
//   tiltophon-skingen PROGRAM_FOLDER [--launcher-icon FILE] [--sheet FILE]
//   tiltophon-skingen PROGRAM_FOLDER --language LL
//
// --language draws only the pictures with words in them, in the language LL from the
// catalogues beside the program folder: the skin's into Skin/LL/, the program's own
// into LL/, where the program looks for them first when it shows its captions in LL.
//
// --sheet also writes one picture with every generated image and mock-ups of the
// pages put together from them, for looking the skin over.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Pictures.h"
#include "Sheet.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/media/FreeTypeFontEngine.h"
#include "platform/media/PngImageCodec.h"
#include "platform/posix/GettextCaptions.h"

namespace fs = std::filesystem;
using namespace tiltophon;

namespace {

std::unique_ptr<Font> make_font(FontEngine& engine, int32_t height, int32_t weight) {
    LogicalFont description;
    description.face.assign(u"HelveticaNeue LT 35 Thin");
    description.height = height;
    description.weight = weight;
    return engine.create_font(description);
}

bool write(const fs::path& path, const skingen::Picture& picture) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error || !PngImageCodec::save_png(picture.bitmap, utf16_from_utf8(path.string()), picture.keep_alpha)) {
        std::fprintf(stderr, "tiltophon-skingen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tiltophon-skingen PROGRAM_FOLDER [--launcher-icon FILE] [--sheet FILE]\n");
        return 2;
    }
    const fs::path folder = argv[1];
    fs::path launcher_icon;
    fs::path sheet;
    std::string language;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--launcher-icon") {
            launcher_icon = argv[i + 1];
        } else if (option == "--sheet") {
            sheet = argv[i + 1];
        } else if (option == "--language") {
            language = argv[i + 1];
        } else {
            std::fprintf(stderr, "tiltophon-skingen: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (argc % 2 != 0) {
        std::fprintf(stderr, "tiltophon-skingen: %s needs a value\n", argv[argc - 1]);
        return 2;
    }

    // Text in the pictures uses the same fonts as the program. Without any font the
    // pictures are still made, without their words.
    FreeTypeFontEngine engine(28);
    Platform services;
    services.fonts = &engine;
    std::unique_ptr<GettextCaptions> captions;
    if (!language.empty()) {
        captions = std::make_unique<GettextCaptions>(
            GettextCaptions::locale_folder_of(folder.string() + "/"), language);
        if (captions->language().empty()) {
            std::fprintf(stderr, "tiltophon-skingen: no captions in %s\n", language.c_str());
            return 1;
        }
        services.captions = captions.get();
    }
    install_platform(services);
    auto label = make_font(engine, 26, 600);
    auto title = make_font(engine, 32, 600);
    auto wordmark = make_font(engine, 84, 500);
    auto small = make_font(engine, 26, 500);
    if (!label) std::fprintf(stderr, "tiltophon-skingen: no font found; pictures will carry no words\n");
    const skingen::Fonts fonts{label.get(), title.get(), wordmark.get(), small.get()};

    if (!language.empty()) {
        bool ok = true;
        for (auto& picture : skingen::skin_pictures(fonts)) {
            if (!skingen::has_words(picture)) continue;
            const fs::path name = fs::path(picture.path).filename();
            ok = write(folder / "Skin" / language / name, picture) && ok;
        }
        for (auto& picture : skingen::resource_pictures(fonts)) {
            if (skingen::has_words(picture)) ok = write(folder / language / picture.path, picture) && ok;
        }
        return ok ? 0 : 1;
    }

    std::vector<skingen::Picture> pictures = skingen::skin_pictures(fonts);
    for (auto& picture : skingen::resource_pictures(fonts)) pictures.push_back(std::move(picture));
    for (auto& picture : skingen::set_pictures()) pictures.push_back(std::move(picture));

    bool ok = true;
    for (const auto& picture : pictures) {
        if (picture.launcher) {
            if (!launcher_icon.empty()) ok = write(launcher_icon, picture) && ok;
        } else {
            ok = write(folder / picture.path, picture) && ok;
        }
    }
    if (!sheet.empty()) {
        const Bitmap composed = skingen::contact_sheet(pictures);
        ok = write(sheet, {sheet.string(), composed}) && ok;
    }
    return ok ? 0 : 1;
}
