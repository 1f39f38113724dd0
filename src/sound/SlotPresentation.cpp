// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SlotPresentation.h"

#include <cstdint>

#include "app/AppState.h"
#include "sound/SoundBank.h"
#include "sound/SoundSlots.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/SelectList.h"

namespace tiltophon {

int ShowSlot(int32_t n) {
    AppState& state = app();
    if (!state.sound_slots || !IsValidSlot(n)) return 0;
    const SoundEntry* entry = state.sound_slots->Entry(n);
    if (!entry) return 0;
    if (Button* button = state.slot_buttons[n])
        button->set_image(entry->BigImage, image_slot::kIcon);
    if (ButtonEx* row = state.sound_rows[n]) {
        row->set_image(entry->SmallImage, image_slot::kIcon);
        row->set_text(entry->FolderName.view());
        row->set_subtext(entry->FileName.view());
    }
    return 1;
}

void FillSoundList() {
    AppState& state = app();
    SelectList* list = state.sound_list;
    const SoundBank* bank = state.sound_bank;
    if (!list) return;
    if (bank) {
        for (int32_t i = 0; i < bank->Count(); ++i) {
            const SoundEntry* entry = bank->EntryAt(i);
            if (!entry) continue;
            ListItem item;
            item.text = entry->FolderName;
            item.subtext = entry->FileName;
            item.image = entry->SmallImage;
            item.value = reinterpret_cast<intptr_t>(entry);
            list->add_item(item);
        }
    }
    list->select(-1);
}

}  // namespace tiltophon
