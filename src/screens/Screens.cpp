#include "screens/Screens.h"

#include "app/AppState.h"

namespace tiltophon {

// The pages are not built yet: every operation finds its controls missing and does
// what it does for a missing control.

namespace {
constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);
}

int build_screens() { return 1; }

bool compose_frame(Window*, int32_t, int32_t, int32_t, int32_t) { return false; }

LResult on_command(Window* window, uint32_t message, WParam first, LParam second) {
    return window->default_proc(message, first, second);
}

int32_t apply_settings() { return kOutOfMemory; }
int32_t collect_settings() { return kOutOfMemory; }
void set_touch_vibration(bool) {}

void show_frame(uint32_t, bool repaint) {
    if (repaint && app().main_window) app().main_window->invalidate(nullptr, true);
}
void show_screen(uint32_t, bool repaint) { show_frame(0, repaint); }
void show_tab(uint32_t, bool, bool repaint) { show_frame(0, repaint); }

}  // namespace tiltophon
