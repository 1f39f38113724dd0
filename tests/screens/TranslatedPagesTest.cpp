// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every page in every shipped language at both screen heights, from the catalogues the
// build compiled beside the program folder: each caption is translated and fits its
// control whole (in a smaller size at most), and the splash screen's steps fit too.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/Loader.h"
#include "platform/Platform.h"
#include "screens/ScreensTestKit.h"
#include "support/Golden.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Label.h"

namespace tiltophon {
namespace {

using testing::is_shown;
using testing::program_folder;

struct Language {
    const char* code;
    // A few captions as they must read, to show the catalogue is the one in use.
    const char16_t* sensitivity;
    const char16_t* cancel;
    const char16_t* off;
};

const Language kLanguages[] = {
    {"de", u"Empfindlichkeit", u"ABBRECHEN", u"Aus"},
    {"fr", u"Sensibilité", u"ANNULER", u"Non"},
    {"es", u"Sensibilidad", u"CANCELAR", u"No"},
};

struct Case {
    Language language;
    ScreenInfo screen;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.language.code << " on " << c.screen.width << " x " << c.screen.height;
}

void for_each_control(Control* control, const std::function<void(Control&)>& visit) {
    if (!control) return;
    visit(*control);
    if (auto* panel = dynamic_cast<Panel*>(control)) {
        for (Control* child : panel->children()) for_each_control(child, visit);
    }
}

class TranslatedPagesTest : public ::testing::TestWithParam<Case> {
protected:
    TranslatedPagesTest() : program(program_folder(), GetParam().screen) {}
    void SetUp() override {
        program.store_full_board();
        program.use_language(GetParam().language.code);
        ASSERT_TRUE(program.start());
    }
    void open(const Control* control) {
        program.tap(control);
        program.settle();
    }
    // Every caption shown now: whole, inside its box, in a font of at least 70 %.
    void expect_captions_fit(const char* page) {
        for_each_control(s.root_panel, [&](Control& control) {
            if (!is_shown(&control) || control.text().empty() || !control.fits_text()) return;
            const Rect box = control.caption_rect();
            const FittedText fitted = fit_text(control.text(), box.width(), control.font());
            const std::string what = std::string(page) + ": \"" +
                                     utf8_from_utf16(control.text()) + "\" in control " +
                                     std::to_string(control.id());
            ASSERT_NE(fitted.font, nullptr) << what;
            const FontHandle full = control.font() ? control.font()
                                                   : platform().fonts->default_font();
            const int32_t cell = fitted.font->ascent() + fitted.font->descent();
            EXPECT_FALSE(fitted.cut) << what << " is cut";
            EXPECT_LE(fitted.font->text_width(fitted.text), box.width()) << what;
            EXPECT_LE(cell, box.height()) << what;
            EXPECT_GE(cell * 100, (full->ascent() + full->descent()) * kSmallestFitPercent) << what;
        });
        program.frame();
    }

    HeadlessProgram program;
    AppState& s = app();
};

TEST_P(TranslatedPagesTest, EveryPageShowsItsCaptionsTranslatedAndWhole) {
    const Language& language = GetParam().language;
    program.settle();
    expect_captions_fit("Home");
    EXPECT_EQ(s.motion_toggle->text(), language.off);
    EXPECT_EQ(utf8_from_utf16(caption_language()), language.code);
    open(s.sounds_tab);
    expect_captions_fit("Sounds");
    open(s.sound_rows[1]);
    expect_captions_fit("Pick");
    EXPECT_EQ(s.cancel_button->text(), language.cancel);
    open(s.cancel_button);
    open(s.settings_tab);
    expect_captions_fit("Settings");
    EXPECT_EQ(s.sensitivity_label->text(), language.sensitivity);
    // The page with the longest captions, as each language shows it.
    if (GetParam().screen.height == 640) {
        EXPECT_TRUE(test::matches_golden(program.frame(),
                                         std::string("page_settings_") + language.code));
    }
    open(s.about_button);
    expect_captions_fit("About");
    EXPECT_NE(s.back_button->text(), u"BACK");

    for (const LoaderStep& step : loader_steps()) {
        const std::u16string message = translated(step.message);
        EXPECT_NE(message, step.message);
        EXPECT_FALSE(fit_text(message, GetParam().screen.width, nullptr).cut)
            << utf8_from_utf16(message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryLanguageAndHeight, TranslatedPagesTest,
    ::testing::Values(Case{kLanguages[0], {480, 640, 192, 192}}, Case{kLanguages[0], {480, 960, 192, 192}},
                      Case{kLanguages[1], {480, 640, 192, 192}}, Case{kLanguages[1], {480, 960, 192, 192}},
                      Case{kLanguages[2], {480, 640, 192, 192}}, Case{kLanguages[2], {480, 960, 192, 192}}),
    [](const ::testing::TestParamInfo<Case>& info) {
        return std::string(info.param.language.code) + "_" +
               std::to_string(info.param.screen.height);
    });

}  // namespace
}  // namespace tiltophon
