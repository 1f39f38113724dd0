// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/Commands.h"

#include "app/AppState.h"
#include "app/KeepAwakeTimer.h"
#include "app/Recording.h"
#include "motion/MotionDetector.h"
#include "motion/MotionDispatch.h"
#include "motion/MotionPolling.h"
#include "motion/Sensitivity.h"
#include "platform/Platform.h"
#include "screens/ControlIds.h"
#include "screens/FramePainter.h"
#include "screens/Screens.h"
#include "settings/RegistryAccess.h"
#include "sound/ReadySounds.h"
#include "sound/SlotPresentation.h"
#include "sound/SoundSlots.h"
#include "vavurud/Button.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {

namespace {

namespace id = control_id;

constexpr LResult kHandled = 0;
// Not a message of the table: it goes to the window's default processing.
constexpr LResult kNotInTable = -1;

bool is_blank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view without_outer_blanks(std::u16string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

// Slot and play buttons sound on pen-down; the pressed look reaches the screen first.
LResult play_slot(Window* window, int32_t slot) {
    if (window) window->update();
    if (const SoundSlots* slots = app().sound_slots) start_playback(slots->Entry(slot));
    return kHandled;
}

bool is_slot_button(uint32_t control) {
    return control >= id::slot_button(1) && control <= id::slot_button(5);
}

// A finger kept on a slot button of Home ends every sound; the touch itself has
// played its slot as every touch does, and the release plays nothing.
void watch_for_hold(Window* window, uint32_t control, uint16_t code) {
    if (!window || !is_slot_button(control)) return;
    if (code == NotifyDown) window->set_timer(StopAllHoldTimerId, StopAllHoldMs, on_stop_all_hold);
    if (code == NotifyUp) window->kill_timer(StopAllHoldTimerId);
}

// The slot of a slot button or play button identifier, or 0.
int32_t slot_of_button(uint32_t control) {
    for (int32_t n = 1; n <= 5; ++n) {
        if (control == id::slot_button(n) || control == id::kPlayButtons[n]) return n;
    }
    return 0;
}

void set_caption_on_off(CheckButton& toggle) {
    toggle.set_text(switch_caption(toggle.is_pressed()));
    toggle.invalidate();
}

LResult on_close_button(Window* window) {
    const CheckButton* closes = app().x_button_close_check;
    if (closes && closes->is_pressed()) {
        window->send_message(msg::kClose, 0, 0);
    } else {
        window->show(ShowCommand::kMinimize);
    }
    return kHandled;
}

LResult on_motion_toggle(CheckButton& toggle) {
    const bool on = toggle.is_pressed();
    if (on) {
        start_motion();
    } else {
        stop_motion();
    }
    set_caption_on_off(toggle);
    if (KeepAwakeTimer* keep_awake = app().keep_awake) {
        if (on) {
            keep_awake->start();
        } else {
            keep_awake->stop();
        }
    }
    return kHandled;
}

LResult on_sensitivity(const ValueSelector& selector, MotionDetector* detector) {
    if (detector) {
        detector->set_peak_threshold(peak_threshold_for_sensitivity(selector.get_selected_value()));
    }
    return kHandled;
}

LResult on_sound_list(Window* window, SelectList& list, uint16_t code) {
    switch (code) {
        case NotifyDown:
            list.stop_glide(window, ListScrollTimerId);
            return kHandled;
        case NotifyDrag:
            return kHandled;
        case NotifyUp:
            list.start_glide(window, ListScrollTimerId, ListScrollTickMs, on_list_glide_tick);
            return kHandled;
        case NotifyClick: {
            // A tap previews the sound of the row it selected.
            ListItem item;
            if (list.get_item(list.get_selected(), item)) {
                const auto* entry = reinterpret_cast<const SoundEntry*>(item.value);
                start_playback(entry);
                SetPreviewSound(entry);
            }
            return kHandled;
        }
        default:
            return kNotInTable;
    }
}

LResult on_ok_button(Window* window) {
    AppState& state = app();
    SelectList* list = state.sound_list;
    if (!list) return kHandled;
    list->stop_glide(window, ListScrollTimerId);
    ListItem item;
    if (!list->get_item(list->get_selected(), item)) return kHandled;
    // The row names its sound by folder and file name, so a file name that several
    // sets share still gives the very sound the user chose.
    int32_t slot = SlotFromRowId(state.pending_slot_id);
    // The preview is done with; the assignment tells the player the slots' sounds.
    state.preview_entry = nullptr;
    AssignSlot(slot, item.text.view(), item.subtext.view());
    ShowSlot(slot);
    show_screen(id::kMainPanel, false);
    finish_page_change(window, Transition::PushUp);
    return kHandled;
}

LResult on_cancel_button(Window* window) {
    AppState& state = app();
    if (state.sound_list) state.sound_list->stop_glide(window, ListScrollTimerId);
    state.pending_slot_id = 0;
    SetPreviewSound(nullptr);
    show_screen(id::kMainPanel, false);
    finish_page_change(window, Transition::PushUp);
    return kHandled;
}

// The handler of one control and code.
LResult dispatch(Window* window, uint32_t control, uint16_t code, bool has_sender) {
    AppState& state = app();

    if (int32_t slot = slot_of_button(control)) {
        watch_for_hold(window, control, code);
        return code == NotifyDown ? play_slot(window, slot) : kNotInTable;
    }
    if (SlotFromRowId(control) != 0) {
        if (code != NotifyClick) return kNotInTable;
        state.pending_slot_id = control;
        show_screen(id::kPickPage, true);
        finish_page_change(window, Transition::PushDown);
        return kHandled;
    }

    switch (control) {
        case id::kCloseButton:
            return code == NotifyClick ? on_close_button(window) : kNotInTable;
        case id::kAboutButton:
            if (code != NotifyClick) return kNotInTable;
            if (state.about_button) state.about_button->set_visible(false);
            show_screen(id::kAboutPage, false);
            finish_page_change(window, Transition::CoverDown);
            return kHandled;
        case id::kBackButton:
            if (code != NotifyClick) return kNotInTable;
            if (state.about_button) state.about_button->set_visible(true);
            show_screen(id::kMainPanel, false);
            finish_page_change(window, Transition::UncoverUp);
            return kHandled;
        case id::kHomeTab:
            if (code != NotifyToggle) return kNotInTable;
            show_tab(id::kHomePage, true, false);
            finish_page_change(window, Transition::PushRight);
            return kHandled;
        case id::kSoundsTab: {
            if (code != NotifyToggle) return kNotInTable;
            // From Home the pages move left; from Settings they move right.
            bool from_home = state.home_tab && state.home_tab->is_pressed();
            show_tab(id::kSoundsPage, true, false);
            finish_page_change(window, from_home ? Transition::PushLeft : Transition::PushRight);
            return kHandled;
        }
        case id::kSettingsTab:
            if (code != NotifyToggle) return kNotInTable;
            show_tab(id::kSettingsPage, true, false);
            finish_page_change(window, Transition::PushLeft);
            return kHandled;
        case id::kDonateButton:
            if (code != NotifyClick) return kNotInTable;
            open_in_browser(DonationUrl);
            return kHandled;
        case id::kOkButton:
            return code == NotifyClick ? on_ok_button(window) : kNotInTable;
        case id::kCancelButton:
            return code == NotifyClick ? on_cancel_button(window) : kNotInTable;
        case id::kRecordButton:
            if (code != NotifyClick) return kNotInTable;
            on_record_button(window);
            return kHandled;
        default:
            break;
    }

    // These handlers act on their control and ignore a message that names none.
    switch (control) {
        case id::kSoundList:
            if (code < NotifyDown || code > NotifyClick) return kNotInTable;
            if (!has_sender || !state.sound_list) return kHandled;
            return on_sound_list(window, *state.sound_list, code);
        case id::kMotionToggle:
            if (code != NotifyToggle) return kNotInTable;
            if (!has_sender || !state.motion_toggle) return kHandled;
            return on_motion_toggle(*state.motion_toggle);
        case id::kPulseToggle:
            if (code != NotifyToggle) return kNotInTable;
            if (has_sender && state.pulse_toggle) set_caption_on_off(*state.pulse_toggle);
            return kHandled;
        case id::kSoundsOverlapCheck:
            if (code != NotifyToggle) return kNotInTable;
            if (has_sender) apply_sounds_overlap();
            return kHandled;
        case id::kTouchVibrationsCheck:
            if (code != NotifyToggle) return kNotInTable;
            if (has_sender && state.touch_vibrations_check) {
                set_touch_vibration(state.touch_vibrations_check->is_pressed());
            }
            return kHandled;
        case id::kXSensitivitySelector:
        case id::kYSensitivitySelector:
        case id::kZSensitivitySelector: {
            if (code != NotifyChange) return kNotInTable;
            const ValueSelector* selector =
                control == id::kXSensitivitySelector   ? state.x_sensitivity_selector
                : control == id::kYSensitivitySelector ? state.y_sensitivity_selector
                                                       : state.z_sensitivity_selector;
            MotionDetector* detector = control == id::kXSensitivitySelector   ? state.detector_x
                                       : control == id::kYSensitivitySelector ? state.detector_y
                                                                              : state.detector_z;
            if (!has_sender || !selector) return kHandled;
            return on_sensitivity(*selector, detector);
        }
        default:
            return kNotInTable;
    }
}

}  // namespace

LResult on_command(Window* window, uint32_t message, WParam first, LParam second) {
    const uint32_t control = low_word(first);
    const uint16_t code = high_word(first);
    LResult result = dispatch(window, control, code, second != 0);
    if (result == kNotInTable) return window ? window->default_proc(message, first, second) : 0;
    return result;
}

void on_list_glide_tick(Window* window, uint32_t) {
    if (SelectList* list = app().sound_list) list->glide_step(window, ListScrollTimerId);
}

void on_stop_all_hold(Window* window, uint32_t timer_id) {
    if (window) window->kill_timer(timer_id);
    AppState& state = app();
    // A finger that slid off the button, or a key let go, is no longer holding it.
    for (int32_t n = 1; n <= 5; ++n) {
        if (state.slot_buttons[n] && state.slot_buttons[n]->is_pressed()) {
            stop_all_sounds();
            return;
        }
    }
}

PathText browser_program(std::u16string_view command_line) {
    std::size_t start = 0;
    while (start < command_line.size() && is_blank(command_line[start])) ++start;
    std::u16string_view rest = command_line.substr(start);
    if (!rest.empty() && rest.front() == u'"') {
        rest.remove_prefix(1);
        return PathText(rest.substr(0, rest.find(u'"')));
    }
    std::size_t end = 0;
    while (end < rest.size() && !is_blank(rest[end])) ++end;
    return PathText(rest.substr(0, end));
}

int open_in_browser(std::u16string_view url) {
    ProcessLauncher* processes = platform().processes;
    if (!processes) return 0;
    PathText command_line;
    ReadRegistryString(RegistryRoot::kLocalMachine, kDefaultBrowserKey, kDefaultBrowserValue,
                       &command_line, u"");
    PathText program = browser_program(command_line.view());
    // A path with blanks in it, written without quotes, is cut at the first blank
    // above; when the whole value names a program file, that file is the browser.
    std::u16string_view whole = without_outer_blanks(command_line.view());
    if (whole.size() > program.length() && whole.front() != u'"' &&
        processes->is_program_file(whole)) {
        program = whole;
    }
    if (program.empty()) program = PathText(kFallbackBrowser);
    return processes->spawn(program.view(), url) ? 1 : 0;
}

}  // namespace tiltophon
