// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/ReadySounds.h"

#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/Platform.h"
#include "sound/SoundSlots.h"

namespace tiltophon {

void PrepareSlotSounds() {
    SoundPlayer* audio = platform().audio;
    if (!audio) return;
    std::vector<std::u16string> paths;
    auto add = [&](const SoundEntry* entry) {
        if (entry) paths.emplace_back(entry->FilePath.view());
    };
    if (const SoundSlots* slots = app().sound_slots) {
        for (int32_t n = 1; n <= kSlotCount; ++n) add(slots->Entry(n));
    }
    add(app().preview_entry);
    audio->prepare(paths);
}

void SetPreviewSound(const SoundEntry* entry) {
    if (app().preview_entry == entry) return;
    app().preview_entry = entry;
    PrepareSlotSounds();
}

}  // namespace tiltophon
