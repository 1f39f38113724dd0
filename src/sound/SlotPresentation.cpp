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

namespace {

ListItem item_of(const SoundEntry& entry) {
    ListItem item;
    item.text = entry.FolderName;
    item.subtext = entry.FileName;
    item.image = entry.SmallImage;
    item.value = reinterpret_cast<intptr_t>(&entry);
    return item;
}

}  // namespace

void FillSoundList() {
    AppState& state = app();
    SelectList* list = state.sound_list;
    const SoundBank* bank = state.sound_bank;
    if (!list) return;
    if (bank) {
        for (int32_t i = 0; i < bank->Count(); ++i) {
            if (const SoundEntry* entry = bank->EntryAt(i)) list->add_item(item_of(*entry));
        }
    }
    list->select(-1);
}

// The bank only ever gains entries, so the list is the bank's order with gaps: walking
// both together finds every gap.
int32_t AddNewSoundsToList() {
    AppState& state = app();
    SelectList* list = state.sound_list;
    const SoundBank* bank = state.sound_bank;
    if (!list || !bank) return 0;
    int32_t added = 0;
    for (int32_t i = 0; i < bank->Count(); ++i) {
        const SoundEntry* entry = bank->EntryAt(i);
        ListItem row;
        if (list->get_item(i, row) && row.value == reinterpret_cast<intptr_t>(entry)) continue;
        list->insert_item(i, item_of(*entry));
        ++added;
    }
    return added;
}

}  // namespace tiltophon
