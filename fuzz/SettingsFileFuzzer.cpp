// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file is the user's to edit, so any bytes may be in it. Whatever it
// holds, the program must load its settings, save them, and load back exactly what
// it saved; and the file it saves must be stable: read and written again unchanged.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "Require.h"
#include "ScratchFolder.h"
#include "platform/Platform.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/RegistryDocument.h"
#include "settings/Settings.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

struct Setup {
    fuzz::ScratchFolder folder;
    FileRegistry registry{folder.file("registry.reg")};
    Platform services;

    Setup() {
        services.registry = &registry;
        install_platform(services);
    }
};

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool same_persisted(const Settings& a, const Settings& b) {
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        if (!(a.SlotFolder(slot) == b.SlotFolder(slot)) || !(a.SlotName(slot) == b.SlotName(slot)))
            return false;
    }
    return a.SensitivityX == b.SensitivityX && a.SensitivityY == b.SensitivityY &&
           a.SensitivityZ == b.SensitivityZ && a.XButtonClose == b.XButtonClose &&
           a.AnimationsOn == b.AnimationsOn && a.VibrationsOn == b.VibrationsOn &&
           a.PulseVibrationsOn == b.PulseVibrationsOn;
}

bool stable(const std::string& file) {
    return RegistryDocument::parse(file).serialize() == file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    FuzzedDataProvider input(data, size);

    // Names as the sound bank makes them: whatever bytes the file system holds.
    std::string names[Settings::kSlotCount];
    for (std::string& name : names) name = input.ConsumeRandomLengthString(300);
    const int32_t sensitivity = input.ConsumeIntegral<int32_t>();
    const std::string file = input.ConsumeRemainingBytesAsString();

    require(stable(RegistryDocument::parse(file).serialize()), "a saved document reads back whole");

    std::ofstream(setup.registry.path(), std::ios::binary | std::ios::trunc) << file;
    Settings loaded;
    loaded.Load();
    loaded.Save();
    Settings again;
    again.Load();
    require(same_persisted(loaded, again), "saved settings load back as they were");
    require(stable(read_all(setup.registry.path())), "the saved file is stable");

    // What the user chose: any names, any sensitivity.
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        again.SlotName(slot).assign(utf16_from_utf8(names[slot - 1]));
        again.SlotFolder(slot).assign(utf16_from_utf8(names[Settings::kSlotCount - slot]));
    }
    again.SensitivityZ = sensitivity;
    again.Save();
    Settings chosen;
    chosen.Load();
    require(same_persisted(again, chosen), "chosen settings load back as they were");
    return 0;
}
