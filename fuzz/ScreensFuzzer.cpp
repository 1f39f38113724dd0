// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any sequence of touches, drags and pauses against the whole program (every page,
// transition and command, on the headless backend with the shipped skin and sounds)
// must leave the screen tree sound: one screen shown, one tab page on the main panel,
// and the tab of the page shown checked and locked. The program runs on the logical
// screens it really lays out: the desktop's (the handset's own) and a phone's taller one.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "Require.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "program/HeadlessProgram.h"
#include "program/RandomPen.h"
#include "program/ScreenTreeCheck.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

// Every run starts the program afresh, so that an input replays the same way; the
// skin's pictures are decoded once and handed out as copies.
class DecodedOnce : public ImageCodec {
public:
    std::unique_ptr<Bitmap> load_png(std::u16string_view path) override {
        auto [entry, fresh] = decoded_.try_emplace(std::u16string(path));
        if (fresh) entry->second = codec_.load_png(path);
        return entry->second ? std::make_unique<Bitmap>(*entry->second) : nullptr;
    }

private:
    PngImageCodec codec_;
    std::map<std::u16string, std::unique_ptr<Bitmap>> decoded_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    static DecodedOnce images;
    const ScreenInfo screen =
        input.ConsumeBool() ? ScreenInfo{480, 960, 192, 192} : ScreenInfo{480, 640, 192, 192};
    HeadlessProgram program(utf16_from_utf8(TILTOPHON_PROGRAM_DIR "/"), screen);
    program.headless.services().images = &images;
    install_platform(program.headless.services());
    program.store_slot(1, u"Drums", u"Kick.wav");
    program.store(u"XButtonClose", input.ConsumeBool() ? 1 : 0);
    program.store(u"AnimationsOn", input.ConsumeBool() ? 1 : 0);
    require(program.start(), "the program starts");

    RandomPen pen(program);
    const RandomPen::Choose choose = [&](uint32_t bound) {
        return bound == 0 ? 0 : input.ConsumeIntegralInRange<uint32_t>(0, bound - 1);
    };
    while (input.remaining_bytes() > 0 && pen.step(choose)) {
        const std::string fault = screen_tree_fault();
        if (!fault.empty()) std::fprintf(stderr, "%s\n", fault.c_str());
        require(fault.empty(), "the screen tree stays sound");
    }
    if (!program.headless_window().is_destroyed()) program.close();
    return 0;
}
