#include "platform/headless/HeadlessProgram.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Program.h"
#include "platform/Text.h"
#include "screens/FramePainter.h"
#include "settings/Settings.h"
#include "vavurud/AnimationClock.h"

namespace tiltophon {

std::u16string ProgramFolderFiles::program_path() {
    return program_folder_ + u"tiltophon";
}

std::vector<DirectoryEntry> ProgramFolderFiles::list_directory(std::u16string_view folder) {
    return files_.list_directory(folder);
}

HeadlessProgram::HeadlessProgram(std::u16string program_folder, ScreenInfo screen)
    : headless(screen), files(std::move(program_folder)) {
    headless.services().files = &files;
    install_platform(headless.services());
}

void HeadlessProgram::store(std::u16string_view name, uint32_t value) {
    headless.registry.write_dword(kSettingsRoot, kSettingsKey, name, value);
}

void HeadlessProgram::store(std::u16string_view name, std::u16string_view text) {
    headless.registry.write_string(kSettingsRoot, kSettingsKey, name, text);
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
    headless.registry.read_dword(kSettingsRoot, kSettingsKey, name, value);
    return value;
}

std::u16string HeadlessProgram::stored_string(std::u16string_view name) {
    char16_t buffer[260] = {};
    headless.registry.read_string(kSettingsRoot, kSettingsKey, name, buffer, 260);
    return buffer;
}

}  // namespace tiltophon
