// Renders each page of the program, as it runs on a 480 x 640, 192-dpi screen with
// the default skin and sounds, into PNG files:
//
//   tiltophon-screenshots OUTPUT_FOLDER [PROGRAM_FOLDER]
//
// PROGRAM_FOLDER holds the skin, sounds and pictures (the build's program folder by
// default). Writes home.png, sounds.png, settings.png, about.png and pick.png.

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/Text.h"
#include "platform/headless/HeadlessProgram.h"
#include "platform/media/PngImageCodec.h"

using namespace tiltophon;

namespace {

bool save(HeadlessProgram& program, const std::filesystem::path& folder, const char* name) {
    program.settle();
    std::filesystem::path file = folder / (std::string(name) + ".png");
    if (!PngImageCodec::save_png(program.frame(), utf16_from_utf8(file.string()))) {
        std::fprintf(stderr, "tiltophon-screenshots: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: tiltophon-screenshots OUTPUT_FOLDER [PROGRAM_FOLDER]\n");
        return 2;
    }
    std::filesystem::path output = argv[1];
    std::string program_folder = argc == 3 ? argv[2] : TILTOPHON_PROGRAM_DIR;
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

    HeadlessProgram program(utf16_from_utf8(program_folder + "/"));
    // A board with a sound in every slot.
    const char16_t* folders[] = {u"Drums", u"Bells", u"Synth", u"Voices", u"Drums"};
    const char16_t* names[] = {u"Kick.wav", u"Chime.wav", u"Zap.wav", u"Oh.wav", u"Snare.wav"};
    for (int n = 1; n <= 5; ++n) {
        std::u16string slot = u"SoundSlot" + std::u16string(1, char16_t(u'0' + n));
        program.store(slot + u"Folder", folders[n - 1]);
        program.store(slot + u"Name", names[n - 1]);
    }
    if (!program.start()) {
        std::fprintf(stderr, "tiltophon-screenshots: the program did not start\n");
        return 1;
    }

    bool ok = save(program, output, "home");
    program.tap(240, 590);  // Sounds tab
    ok = save(program, output, "sounds") && ok;
    program.tap(400, 590);  // Settings tab
    ok = save(program, output, "settings") && ok;
    program.tap(402, 26);  // About button
    ok = save(program, output, "about") && ok;
    program.tap(240, 586);  // BACK
    program.tap(240, 590);  // Sounds tab
    program.settle();
    program.tap(230, 196);  // the second sound row
    program.settle();
    program.tap(240, 300);  // a sound of the list
    ok = save(program, output, "pick") && ok;
    return ok ? 0 : 1;
}
