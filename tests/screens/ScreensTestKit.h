// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/Text.h"
#include "program/HeadlessProgram.h"
#include "vavurud/Control.h"
#include "vavurud/Panel.h"

namespace tiltophon {

// Rectangles print as (x, y, width, height), the way the layout is written down.
inline void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.width() << ", " << r.height() << ")";
}

namespace testing {

inline std::u16string program_folder() {
    return utf16_from_utf8(TILTOPHON_PROGRAM_DIR "/");
}

inline Rect xywh(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x, y, x + w, y + h};
}

inline Point centre_of(const Control* control) {
    Rect r = control->get_rect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Whether the control and every Panel above it are visible.
inline bool is_shown(const Control* control) {
    for (const Control* c = control; c; c = c->parent()) {
        if (!c->is_visible()) return false;
    }
    return control != nullptr;
}

inline std::vector<uint32_t> child_ids(const Panel* panel) {
    std::vector<uint32_t> ids;
    for (const Control* child : panel->children()) ids.push_back(child->id());
    return ids;
}

// The program started on the default skin and sounds; tests drive it with the pen.
class ProgramTest : public ::testing::Test {
protected:
    explicit ProgramTest(ScreenInfo screen = {480, 640, 192, 192})
        : program(program_folder(), screen) {}

    void start() { ASSERT_TRUE(program.start()); }
    void tap(const Control* control) { program.tap(control); }
    void store_slot(int n, std::u16string_view folder, std::u16string_view name) {
        program.store_slot(n, folder, name);
    }

    HeadlessProgram program;
    AppState& s = app();
};

}  // namespace testing
}  // namespace tiltophon
