// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/HeadlessProgram.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Program.h"
#include "platform/Text.h"
#include "platform/posix/GettextCaptions.h"
#include "screens/FramePainter.h"
#include "settings/Settings.h"
#include "vavurud/Control.h"
#include "vavurud/AnimationClock.h"

namespace tiltophon {

std::u16string ProgramFolderFiles::program_path() {
    return program_folder_ + u"tiltophon";
}

std::vector<DirectoryEntry> ProgramFolderFiles::list_directory(std::u16string_view folder) {
    return files_.list_directory(folder);
}

FolderResult ProgramFolderFiles::make_folders(std::u16string_view folder) {
    return files_.make_folders(folder);
}

bool ProgramFolderFiles::write_new_file(std::u16string_view path, std::string_view bytes) {
    return files_.write_new_file(path, bytes);
}

std::string ProgramFolderFiles::read_head(std::u16string_view path, std::size_t count) {
    return files_.read_head(path, count);
}

CopyResult ProgramFolderFiles::copy_new_file(std::u16string_view from, std::u16string_view to,
                                             uint64_t max_bytes, const CopyCancelled& cancelled) {
    return files_.copy_new_file(from, to, max_bytes, cancelled);
}

CopyResult ProgramFolderFiles::publish_new_file(std::u16string_view to, std::string_view bytes) {
    return files_.publish_new_file(to, bytes);
}

void ProgramFolderFiles::remove_unfinished_copies(std::u16string_view folder) {
    files_.remove_unfinished_copies(folder);
}

HeadlessProgram::HeadlessProgram(std::u16string program_folder, ScreenInfo screen)
    : headless(screen), files(std::move(program_folder)) {
    headless.services().files = &files;
    install_platform(headless.services());
}

void HeadlessProgram::key(uintptr_t code, intptr_t flags) {
    Window* main = window();
    if (!main) return;
    main->post_message(msg::kKeyDown, code, flags);
    // A held key repeats its key-down alone.
    if (!(flags & key::kRepeat)) main->post_message(msg::kKeyUp, code, flags);
    headless.windows.pump();
}

void HeadlessProgram::use_language(const std::string& languages) {
    const std::string folder = utf8_from_utf16(files.program_path());
    captions_ = std::make_unique<GettextCaptions>(
        GettextCaptions::locale_folder_of(folder.substr(0, folder.rfind('/') + 1)), languages);
    headless.services().captions = captions_.get();
    install_platform(headless.services());
}

Registry& HeadlessProgram::registry() {
    return *headless.services().registry;
}

void HeadlessProgram::store(std::u16string_view name, uint32_t value) {
    registry().write_dword(kSettingsRoot, kSettingsKey, name, value);
}

void HeadlessProgram::store(std::u16string_view name, std::u16string_view text) {
    registry().write_string(kSettingsRoot, kSettingsKey, name, text);
}

void HeadlessProgram::store_slot(int slot, std::u16string_view folder, std::u16string_view name) {
    const std::u16string prefix = u"SoundSlot" + std::u16string(1, char16_t(u'0' + slot));
    store(prefix + u"Folder", folder);
    store(prefix + u"Name", name);
}

void HeadlessProgram::store_full_board() {
    store_slot(1, u"Drums", u"Kick.wav");
    store_slot(2, u"Bells", u"Chime.wav");
    store_slot(3, u"Synth", u"Zap.wav");
    store_slot(4, u"Voices", u"Oh.wav");
    store_slot(5, u"Drums", u"Snare.wav");
}

bool HeadlessProgram::start() {
    if (init_instance(ShowCommand::kNormal) != 1) return false;
    headless.windows.pump();
    return app().is_loaded();
}

Window* HeadlessProgram::window() const {
    return app().main_window;
}

void HeadlessProgram::pen(uint32_t message, int32_t x, int32_t y) {
    window()->post_message(message, 0,
                           make_point_param(static_cast<uint16_t>(x), static_cast<uint16_t>(y)));
    headless.windows.pump();
}

void HeadlessProgram::pen_down(int32_t x, int32_t y) {
    pen(msg::kPenDown, x, y);
}
void HeadlessProgram::pen_move(int32_t x, int32_t y) {
    pen(msg::kPenMove, x, y);
}
void HeadlessProgram::pen_up(int32_t x, int32_t y) {
    pen(msg::kPenUp, x, y);
}

void HeadlessProgram::tap(int32_t x, int32_t y) {
    pen_down(x, y);
    pen_up(x, y);
}

void HeadlessProgram::tap(const Control* control) {
    const Rect rect = control->get_rect();
    tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void HeadlessProgram::drag(int32_t x, int32_t y, int32_t to_x, int32_t to_y, uint32_t duration_ms,
                           int steps) {
    pen_down(x, y);
    uint32_t elapsed = 0;
    for (int i = 1; i <= steps; ++i) {
        auto due = static_cast<uint32_t>(uint64_t{duration_ms} * i / steps);
        advance(due - elapsed);
        elapsed = due;
        pen_move(x + (to_x - x) * i / steps, y + (to_y - y) * i / steps);
    }
    pen_up(to_x, to_y);
}

void HeadlessProgram::settle() {
    const AnimationClock* clock = app().animation_clock;
    for (int guard = 0; clock && clock->is_running() && guard < 100; ++guard) {
        advance(TransitionTickMs);
    }
    headless.windows.pump();
}

const Bitmap& HeadlessProgram::frame() {
    headless.windows.pump();
    return headless_window().presented_frame();
}

void HeadlessProgram::close() {
    window()->post_message(msg::kClose, 0, 0);
    headless.windows.pump();
}

uint32_t HeadlessProgram::stored_dword(std::u16string_view name) {
    uint32_t value = 0xFFFFFFFFu;
    registry().read_dword(kSettingsRoot, kSettingsKey, name, value);
    return value;
}

std::u16string HeadlessProgram::stored_string(std::u16string_view name) {
    char16_t buffer[260] = {};
    registry().read_string(kSettingsRoot, kSettingsKey, name, buffer, 260);
    return buffer;
}

}  // namespace tiltophon
