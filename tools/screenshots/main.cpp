// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders each page of the program with the default skin and sounds (or those of
// another program folder) into PNG files:
//
//   tiltophon-screenshots [--screen WxH@DPI] OUTPUT_FOLDER [PROGRAM_FOLDER]
//
// The screen is 480x640@192 unless given. PROGRAM_FOLDER holds Skin/, Sounds/ and the
// program's pictures (the build's program folder by default). Writes home.png,
// sounds.png, settings.png, about.png and pick.png.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppState.h"
#include "platform/ScreenSpec.h"
#include "platform/Text.h"
#include "program/HeadlessProgram.h"
#include "platform/media/PngImageCodec.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"

using namespace tiltophon;

namespace {

constexpr char kUsage[] =
    "usage: tiltophon-screenshots [--screen WxH@DPI] OUTPUT_FOLDER [PROGRAM_FOLDER]\n";

bool save(HeadlessProgram& program, const std::filesystem::path& folder, const char* name) {
    program.settle();
    std::filesystem::path file = folder / (std::string(name) + ".png");
    if (!PngImageCodec::save_png(program.frame(), utf16_from_utf8(file.string()))) {
        std::fprintf(stderr, "tiltophon-screenshots: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

void tap(HeadlessProgram& program, const Control* control) {
    program.tap(control);
    program.settle();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    ScreenInfo screen{480, 640, 192, 192};
    if (arguments.size() >= 2 && arguments[0] == "--screen") {
        auto spec = parse_screen_spec(arguments[1]);
        if (!spec) {
            std::fprintf(stderr, "tiltophon-screenshots: not a screen: %.*s\n%s",
                         int(arguments[1].size()), arguments[1].data(), kUsage);
            return 2;
        }
        screen = *spec;
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    if (arguments.empty() || arguments.size() > 2) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    std::filesystem::path output = arguments[0];
    std::string program_folder =
        arguments.size() == 2 ? std::string(arguments[1]) : TILTOPHON_PROGRAM_DIR;
    if (!std::filesystem::is_directory(std::filesystem::path(program_folder) / "Skin")) {
        std::fprintf(stderr, "tiltophon-screenshots: no Skin folder in %s\n",
                     program_folder.c_str());
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(output, error);
    if (error) {
        std::fprintf(stderr, "tiltophon-screenshots: cannot make %s: %s\n", output.c_str(),
                     error.message().c_str());
        return 1;
    }

    HeadlessProgram program(utf16_from_utf8(program_folder + "/"), screen);
    program.store_full_board();
    if (!program.start()) {
        std::fprintf(stderr, "tiltophon-screenshots: the program did not start\n");
        return 1;
    }

    AppState& s = app();
    bool ok = save(program, output, "home");
    tap(program, s.sounds_tab);
    ok = save(program, output, "sounds") && ok;
    tap(program, s.settings_tab);
    ok = save(program, output, "settings") && ok;
    tap(program, s.about_button);
    ok = save(program, output, "about") && ok;
    tap(program, s.back_button);
    tap(program, s.sounds_tab);
    tap(program, s.sound_rows[2]);
    // The fourth sound of the list, chosen.
    SelectList& list = *s.sound_list;
    program.tap(list.x() + list.width() / 2, list.y() + list.item_height() * 7 / 2);
    ok = save(program, output, "pick") && ok;
    return ok ? 0 : 1;
}
