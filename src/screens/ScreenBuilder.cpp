// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/ScreenBuilder.h"

#include <initializer_list>
#include <utility>

#include "app/AppResources.h"
#include "app/AppState.h"
#include "app/Recording.h"
#include "platform/Platform.h"
#include "screens/ControlIds.h"
#include "screens/Screens.h"
#include "settings/Skin.h"
#include "vavurud/Backdrop.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Draw.h"
#include "vavurud/Label.h"
#include "vavurud/Panel.h"
#include "vavurud/Picture.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {

namespace {

namespace id = control_id;

// Text formats of the pages.
constexpr uint32_t kLeftMiddle = 0x8024;
constexpr uint32_t kCentred = 0x8025;
constexpr uint32_t kCentredTop = 0x8021;
constexpr uint32_t kCentredBottom = 0x8029;

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kSubtextGrey = 0xCCCCCC;
constexpr Colour kBlack = 0x000000;

template <typename T>
T* create(uint32_t control_id) {
    return app().make_owned<T>(app().main_window, control_id);
}

// The skin's pictures and fonts by field; nothing when there is no skin.
Image skin_image(Image Skin::*field) {
    const Skin* skin = app().skin;
    return skin ? skin->*field : nullptr;
}

FontHandle skin_font(FontHandle Skin::*field) {
    const Skin* skin = app().skin;
    return skin ? skin->*field : nullptr;
}

Image resource_image(Image AppResources::*field) {
    const AppResources* resources = app().resources;
    return resources ? resources->*field : nullptr;
}

// The lengths every group is laid out with: the screen in device pixels and the
// slot grid, whose cells are design units.
struct Layout {
    int32_t w = 0;
    int32_t h = 0;
    int32_t top_bar = 0;     // sy(26)
    int32_t bottom_bar = 0;  // sy(54)
    int32_t cell_w = 0;
    int32_t cell_h = 0;
    int32_t grid_x = 0;
    int32_t grid_y = 0;
    int32_t rows_y = 0;  // top of the first sound row

    Layout() {
        ScreenInfo screen;
        if (WindowSystem* windows = platform().windows) screen = windows->screen();
        w = screen.width;
        h = screen.height;
        top_bar = scale_y(26);
        bottom_bar = scale_y(54);
        cell_w = scale_x(80);
        cell_h = scale_y(80);
        grid_x = (w - 3 * cell_w) / 2;
        grid_y = top_bar + (h - bottom_bar - 3 * cell_h - top_bar) / 2;
        rows_y = top_bar + (h - 5 * scale_y(48) - bottom_bar - top_bar) / 2;
    }

    // The grid cell of row r and column c, both 1 to 3.
    void place_in_cell(Control& control, int32_t r, int32_t c) const {
        control.set_rect(grid_x + (c - 1) * cell_w, grid_y + (r - 1) * cell_h, cell_w, cell_h);
    }
    // The band between the two bars.
    void place_as_page(Control& control) const {
        control.set_rect(0, top_bar, scale_x(240), h - bottom_bar - top_bar);
    }
    // Everything below the top bar.
    void place_as_screen(Control& control) const {
        control.set_rect(0, top_bar, scale_x(240), h - top_bar);
    }
};

// A backdrop at (x, y, width, height) from the part `from` of a skin picture, first
// among the page's children so that it lies behind them; nothing where it would be
// empty (the handset's screen, whose pictures fill the page).
void add_backdrop(Panel& page, int32_t x, int32_t y, int32_t width, int32_t height,
                  Image Skin::*picture, const Rect& from) {
    if (width <= 0 || height <= 0) return;
    Backdrop* backdrop = create<Backdrop>(0);
    backdrop->set_rect(x, y, width, height);
    backdrop->set_source(skin_image(picture), from);
    page.add_child(backdrop);
}

// The handset's screen height. Its Settings, About and pick pages stand on black, as
// they were drawn for it.
constexpr int32_t kHandsetHeight = 640;

// On a taller screen those pages take the Home page's ground between the bars (the
// colour of the grid's outermost corner), so that no page floats in a black field
// below its controls.
void add_tall_ground(Panel& page, const Layout& l) {
    if (l.h <= kHandsetHeight) return;
    add_backdrop(page, 0, l.top_bar, l.w, l.h - l.bottom_bar - l.top_bar, &Skin::Pic_SlotGrid_L1C1,
                 {0, 0, 1, 1});
}

// The same ground for the sound list, which paints its own; black on the handset's
// screen or without the picture.
Colour list_ground(const Layout& l) {
    Image ground = skin_image(&Skin::Pic_SlotGrid_L1C1);
    int32_t width = 0;
    int32_t height = 0;
    if (l.h <= kHandsetHeight || !image_size(ground, width, height)) return kBlack;
    return colour_from_pixel(ground->pixel(0, 0));
}

void add_children(Panel& panel, std::initializer_list<Control*> children) {
    for (Control* child : children) panel.add_child(child);
}

void stretched(Button& button, Image up, Image down) {
    button.set_image(up, image_slot::kUp).set_image(down, image_slot::kDown);
    button.set_image_kind(kImagePlain).set_image_placement(kPlaceStretched);
}

void stretched(CheckButton& check, Image up, Image down) {
    check.set_image(up, image_slot::kUp).set_image(down, image_slot::kDown);
    check.set_image_kind(kImagePlain).set_image_placement(kPlaceStretched);
}

void stretched(Picture& picture, Image image) {
    picture.set_image(image, image_slot::kUp);
    picture.set_image_kind(kImagePlain).set_image_placement(kPlaceStretched);
}

// A button of the bottom bar: masked, centred, captioned in the surface's default font.
void masked_button(Button& button, Image up, Image down, Image mask, std::u16string_view caption) {
    button.set_image(up, image_slot::kUp)
        .set_image(down, image_slot::kDown)
        .set_image(mask, image_slot::kUpMask)
        .set_image(mask, image_slot::kDownMask);
    button.set_image_kind(kImageMasked).set_image_placement(kPlaceCentred);
    button.set_show_text(true);
    button.set_text_format(kCentred);
    button.set_fit_text(true);
    button.set_text(caption);
}

// BACK, OK and CANCEL.
void bottom_bar_button(Button& button, std::u16string_view caption) {
    masked_button(button, skin_image(&Skin::Btn_BottomBar_Up), skin_image(&Skin::Btn_BottomBar_Dn),
                  skin_image(&Skin::Btn_BottomBar_Mask), caption);
}

void create_controls() {
    AppState& s = app();
    s.home_tab = create<CheckButton>(id::kHomeTab);
    s.sounds_tab = create<CheckButton>(id::kSoundsTab);
    s.settings_tab = create<CheckButton>(id::kSettingsTab);
    for (int32_t n = 1; n <= 5; ++n) s.slot_buttons[n] = create<Button>(id::slot_button(n));
    for (int32_t n = 1; n <= 4; ++n) {
        s.corner_pictures[n] = create<Picture>(id::kFirstCornerPicture + n - 1);
    }
    s.home_page = create<Panel>(id::kHomePage);
    s.motion_toggle = create<CheckButton>(id::kMotionToggle);
    s.pulse_toggle = create<CheckButton>(id::kPulseToggle);

    s.sounds_picture = create<Picture>(id::kSoundsPicture);
    for (int32_t n = 1; n <= 5; ++n) s.sound_rows[n] = create<ButtonEx>(id::sound_row(n));
    for (int32_t n = 1; n <= 5; ++n) s.play_buttons[n] = create<Button>(id::kPlayButtons[n]);
    s.sounds_page = create<Panel>(id::kSoundsPage);

    s.sensitivity_label = create<Label>(id::kSensitivityLabel);
    s.x_axis_label = create<Label>(id::kXAxisLabel);
    s.y_axis_label = create<Label>(id::kYAxisLabel);
    s.z_axis_label = create<Label>(id::kZAxisLabel);
    s.x_sensitivity_selector = create<ValueSelector>(id::kXSensitivitySelector);
    s.y_sensitivity_selector = create<ValueSelector>(id::kYSensitivitySelector);
    s.z_sensitivity_selector = create<ValueSelector>(id::kZSensitivitySelector);
    s.x_button_close_label = create<Label>(id::kXButtonCloseLabel);
    s.x_button_close_check = create<CheckButton>(id::kXButtonCloseCheck);
    s.animations_label = create<Label>(id::kAnimationsLabel);
    s.animations_check = create<CheckButton>(id::kAnimationsCheck);
    s.touch_vibrations_label = create<Label>(id::kTouchVibrationsLabel);
    s.touch_vibrations_check = create<CheckButton>(id::kTouchVibrationsCheck);
    s.sounds_overlap_label = create<Label>(id::kSoundsOverlapLabel);
    s.sounds_overlap_check = create<CheckButton>(id::kSoundsOverlapCheck);
    s.settings_page = create<Panel>(id::kSettingsPage);
    s.main_panel = create<Panel>(id::kMainPanel);

    s.about_title_label = create<Label>(id::kAboutTitleLabel);
    s.about_platform_label = create<Label>(id::kAboutPlatformLabel);
    s.about_version_label = create<Label>(id::kAboutVersionLabel);
    s.about_logo_picture = create<Picture>(id::kAboutLogoPicture);
    s.about_web_label = create<Label>(id::kAboutWebLabel);
    s.about_mail_label = create<Label>(id::kAboutMailLabel);
    s.donate_button = create<Button>(id::kDonateButton);
    s.about_notice_label = create<Label>(id::kAboutNoticeLabel);
    s.back_button = create<Button>(id::kBackButton);
    s.about_page = create<Panel>(id::kAboutPage);

    s.sound_list = create<SelectList>(id::kSoundList);
    s.ok_button = create<Button>(id::kOkButton);
    s.cancel_button = create<Button>(id::kCancelButton);
    s.record_button = create<Button>(id::kRecordButton);
    s.pick_page = create<Panel>(id::kPickPage);

    s.top_bar_picture = create<Picture>(id::kTopBarPicture);
    s.close_button = create<Button>(id::kCloseButton);
    s.about_button = create<Button>(id::kAboutButton);
    s.bottom_bar_picture = create<Picture>(id::kBottomBarPicture);
    s.frame_panel = create<Panel>(id::kFramePanel);
    s.root_panel = create<Panel>(id::kRootPanel);
}

void build_tabs(const Layout& l) {
    AppState& s = app();
    const int32_t top = l.h - l.bottom_bar;
    s.home_tab->set_rect(0, top, scale_x(80), l.bottom_bar);
    stretched(*s.home_tab, skin_image(&Skin::Chk_BottomBar_Home_Up),
              skin_image(&Skin::Chk_BottomBar_Home_Dn));
    s.sounds_tab->set_rect(scale_x(80), top, scale_x(80), l.bottom_bar);
    stretched(*s.sounds_tab, skin_image(&Skin::Chk_BottomBar_Sounds_Up),
              skin_image(&Skin::Chk_BottomBar_Sounds_Dn));
    s.settings_tab->set_rect(scale_x(160), top, scale_x(80), l.bottom_bar);
    stretched(*s.settings_tab, skin_image(&Skin::Chk_BottomBar_Settings_Up),
              skin_image(&Skin::Chk_BottomBar_Settings_Dn));
}

void build_home_page(const Layout& l) {
    AppState& s = app();
    struct Cell {
        int32_t row, column;
        Image Skin::*up;
        Image Skin::*down;
    };
    // Slots 1 to 5 form a cross: top, right, bottom, left, centre.
    const Cell slots[] = {
        {1, 2, &Skin::Btn_SlotGrid_L1C2_Up, &Skin::Btn_SlotGrid_L1C2_Dn},
        {2, 3, &Skin::Btn_SlotGrid_L2C3_Up, &Skin::Btn_SlotGrid_L2C3_Dn},
        {3, 2, &Skin::Btn_SlotGrid_L3C2_Up, &Skin::Btn_SlotGrid_L3C2_Dn},
        {2, 1, &Skin::Btn_SlotGrid_L2C1_Up, &Skin::Btn_SlotGrid_L2C1_Dn},
        {2, 2, &Skin::Btn_SlotGrid_L2C2_Up, &Skin::Btn_SlotGrid_L2C2_Dn},
    };
    for (int32_t n = 1; n <= 5; ++n) {
        Button& button = *s.slot_buttons[n];
        const Cell& cell = slots[n - 1];
        l.place_in_cell(button, cell.row, cell.column);
        stretched(button, skin_image(cell.up), skin_image(cell.down));
        button.set_icon_visible(true);
        button.set_icon_margins(scale_x(16), scale_y(16), scale_x(16), scale_y(16));
    }

    struct Corner {
        int32_t row, column;
        Image Skin::*image;
    };
    const Corner corners[] = {
        {1, 1, &Skin::Pic_SlotGrid_L1C1},
        {1, 3, &Skin::Pic_SlotGrid_L1C3},
        {3, 1, &Skin::Pic_SlotGrid_L3C1},
        {3, 3, &Skin::Pic_SlotGrid_L3C3},
    };
    for (int32_t n = 1; n <= 4; ++n) {
        l.place_in_cell(*s.corner_pictures[n], corners[n - 1].row, corners[n - 1].column);
        stretched(*s.corner_pictures[n], skin_image(corners[n - 1].image));
    }

    // The two switches sit centred in the lower corner cells, over their pictures.
    const int32_t size_x = scale_x(36);
    const int32_t size_y = scale_y(36);
    const int32_t toggle_y = l.grid_y + 2 * l.cell_h + (l.cell_h - size_y) / 2;
    s.motion_toggle->set_rect(l.grid_x + 2 * l.cell_w + (l.cell_w - size_x) / 2, toggle_y, size_x,
                              size_y);
    s.pulse_toggle->set_rect(l.grid_x + (l.cell_w - size_x) / 2, toggle_y, size_x, size_y);
    for (CheckButton* toggle : {s.motion_toggle, s.pulse_toggle}) {
        stretched(*toggle, skin_image(&Skin::Chk_General_2_Up),
                  skin_image(&Skin::Chk_General_2_Dn));
        toggle->set_show_text(true);
        toggle->set_text_format(kCentredBottom);
        toggle->set_font(skin_font(&Skin::F14B));
        toggle->set_text_colours(kWhite, kWhite);
        toggle->set_text_margins(scale_x(2), scale_x(2), scale_x(2), scale_x(2));
        toggle->set_fit_text(true);
    }

    l.place_as_page(*s.home_page);
    s.home_page->set_visible(false);
    // On a tall screen the grid's ground goes on above and below it: the colour of the
    // grid's outermost corner, which no ornament reaches.
    const int32_t grid_bottom = l.grid_y + 3 * l.cell_h;
    const int32_t page_bottom = l.h - l.bottom_bar;
    add_backdrop(*s.home_page, 0, l.top_bar, l.w, l.grid_y - l.top_bar, &Skin::Pic_SlotGrid_L1C1,
                 {0, 0, 1, 1});
    add_backdrop(*s.home_page, 0, grid_bottom, l.w, page_bottom - grid_bottom,
                 &Skin::Pic_SlotGrid_L1C1, {0, 0, 1, 1});
    for (int32_t n = 1; n <= 5; ++n) s.home_page->add_child(s.slot_buttons[n]);
    for (int32_t n = 1; n <= 4; ++n) s.home_page->add_child(s.corner_pictures[n]);
    add_children(*s.home_page, {s.motion_toggle, s.pulse_toggle});
}

void build_sounds_page(const Layout& l) {
    AppState& s = app();
    s.sounds_picture->set_rect(0, l.rows_y, 70, 480);
    s.sounds_picture->set_image(skin_image(&Skin::Pic_OpenSoundsType), image_slot::kUp);
    s.sounds_picture->set_image_kind(kImagePlain).set_image_placement(kPlaceCentred);

    for (int32_t n = 1; n <= 5; ++n) {
        ButtonEx& row = *s.sound_rows[n];
        row.set_rect(70, l.rows_y + 96 * (n - 1), 325, 96);
        stretched(row, skin_image(&Skin::BtnEx_OpenSound_Up),
                  skin_image(&Skin::BtnEx_OpenSound_Dn));
        row.set_show_text(true);
        row.set_font(skin_font(&Skin::F16B));
        row.set_text_format(kLeftMiddle);
        row.set_text_margins(72, 12, 12, 48);
        row.set_show_subtext(true);
        row.set_subtext_font(skin_font(&Skin::F14));
        row.set_subtext_colours(kSubtextGrey, kBlack);
        row.set_subtext_margins(72, 48, 12, 12);
        row.set_icon_visible(true);
        row.set_icon_margins(12, 24, 265, 24);
    }
    // Each play button stands beside its own row, so the one beside a sound plays it
    // on every screen height.
    for (int32_t n = 1; n <= 5; ++n) {
        Button& play = *s.play_buttons[n];
        play.set_rect(395, l.rows_y + 96 * (n - 1), 85, 96);
        stretched(play, skin_image(&Skin::Btn_PlaySound_Up), skin_image(&Skin::Btn_PlaySound_Dn));
    }

    l.place_as_page(*s.sounds_page);
    s.sounds_page->set_visible(false);
    // On a tall screen the strip's edge rows and the rows' ground go on above and below.
    const int32_t rows_bottom = l.rows_y + 5 * 96;
    const int32_t page_bottom = l.h - l.bottom_bar;
    const int32_t above = l.rows_y - l.top_bar;
    const int32_t below = page_bottom - rows_bottom;
    add_backdrop(*s.sounds_page, 0, l.top_bar, 70, above, &Skin::Pic_OpenSoundsType, {0, 0, 70, 1});
    add_backdrop(*s.sounds_page, 0, rows_bottom, 70, below, &Skin::Pic_OpenSoundsType,
                 {0, 479, 70, 480});
    add_backdrop(*s.sounds_page, 70, l.top_bar, l.w - 70, above, &Skin::BtnEx_OpenSound_Up,
                 {0, 0, 1, 1});
    add_backdrop(*s.sounds_page, 70, rows_bottom, l.w - 70, below, &Skin::BtnEx_OpenSound_Up,
                 {0, 0, 1, 1});
    s.sounds_page->add_child(s.sounds_picture);
    for (int32_t n = 1; n <= 5; ++n) s.sounds_page->add_child(s.sound_rows[n]);
    for (int32_t n = 1; n <= 5; ++n) s.sounds_page->add_child(s.play_buttons[n]);
}

// The rows of the Settings page. With four switches the rows stand closer than on the
// handset (65 pixels apart for the selectors, 60 for the switches, which then touch),
// so that the last still ends where the bottom bar begins on the smallest screen.
constexpr int32_t kSelectorRowPitch = 65;
constexpr int32_t kSwitchRowsTop = 292;
constexpr int32_t kRowHeight = 60;

constexpr int32_t selector_row(int32_t n) {
    return 102 + kSelectorRowPitch * n;
}
constexpr int32_t switch_row(int32_t n) {
    return kSwitchRowsTop + kRowHeight * n;
}

void build_settings_page(const Layout& l) {
    AppState& s = app();
    struct LabelRow {
        Label* label;
        int32_t y, height, indent;
        std::u16string text;
    };
    const LabelRow labels[] = {
        {s.sensitivity_label, 60, 40, 20, translated(u"Sensitivity")},
        {s.x_axis_label, selector_row(0), kRowHeight, 60, translated(u"X-axis:")},
        {s.y_axis_label, selector_row(1), kRowHeight, 60, translated(u"Y-axis:")},
        {s.z_axis_label, selector_row(2), kRowHeight, 60, translated(u"Z-axis:")},
        {s.x_button_close_label, switch_row(0), kRowHeight, 20,
         translated(u"X-Button (Close):")},
        {s.animations_label, switch_row(1), kRowHeight, 20, translated(u"Animations:")},
        {s.touch_vibrations_label, switch_row(2), kRowHeight, 20,
         translated(u"Touch Vibrations:")},
        {s.sounds_overlap_label, switch_row(3), kRowHeight, 20,
         translated(u"Sounds overlap:")},
    };
    for (const LabelRow& row : labels) {
        row.label->set_rect(0, row.y, 240, row.height);
        row.label->set_font(skin_font(&Skin::F14));
        row.label->set_text_format(kLeftMiddle);
        row.label->set_text_margins(row.indent, 0, 0, 0);
        row.label->set_fit_text(true);
        row.label->set_text(row.text);
    }

    const std::pair<ValueSelector*, int32_t> selectors[] = {
        {s.x_sensitivity_selector, selector_row(0)},
        {s.y_sensitivity_selector, selector_row(1)},
        {s.z_sensitivity_selector, selector_row(2)},
    };
    for (auto [selector, y] : selectors) {
        selector->set_rect(260, y, 200, 60);
        selector->set_font(skin_font(&Skin::F16));
        selector->set_text_format(kCentred);
        selector->set_image(skin_image(&Skin::Cmb_General_Up), image_slot::kUp)
            .set_image(skin_image(&Skin::Cmb_General_Dn_L), image_slot::kDownLeft)
            .set_image(skin_image(&Skin::Cmb_General_Dn_R), image_slot::kDownRight)
            .set_image_kind(kImagePlain)
            .set_image_placement(kPlaceStretched);
    }

    const std::pair<CheckButton*, int32_t> checks[] = {
        {s.x_button_close_check, switch_row(0)},
        {s.animations_check, switch_row(1)},
        {s.touch_vibrations_check, switch_row(2)},
        {s.sounds_overlap_check, switch_row(3)},
    };
    for (auto [check, y] : checks) {
        check->set_rect(260, y, 200, kRowHeight);
        stretched(*check, skin_image(&Skin::Chk_General_Up), skin_image(&Skin::Chk_General_Dn));
    }

    l.place_as_page(*s.settings_page);
    s.settings_page->set_visible(false);
    add_tall_ground(*s.settings_page, l);
    add_children(*s.settings_page,
                 {s.sensitivity_label, s.x_axis_label, s.y_axis_label, s.z_axis_label,
                  s.x_sensitivity_selector, s.y_sensitivity_selector, s.z_sensitivity_selector,
                  s.x_button_close_label, s.x_button_close_check, s.animations_label,
                  s.animations_check, s.touch_vibrations_label, s.touch_vibrations_check,
                  s.sounds_overlap_label, s.sounds_overlap_check});
}

void build_main_panel(const Layout& l) {
    AppState& s = app();
    l.place_as_screen(*s.main_panel);
    s.main_panel->set_visible(false);
    add_children(*s.main_panel, {s.home_tab, s.sounds_tab, s.settings_tab, s.home_page,
                                 s.sounds_page, s.settings_page});
}

void build_about_page(const Layout& l) {
    AppState& s = app();
    struct Line {
        Label* label;
        int32_t y;
        std::u16string text;
        FontHandle Skin::*font;
        uint32_t format;
    };
    const Line lines[] = {
        {s.about_title_label, 75, std::u16string(kAboutTitle), &Skin::F18B, kCentred},
        {s.about_platform_label, 115, translated(kAboutPlatform), &Skin::F14, kCentred},
        {s.about_version_label, 155, translated(kAboutVersion), &Skin::F14, kCentredTop},
        {s.about_web_label, 235, std::u16string(kAboutWeb), &Skin::F14, kCentred},
        {s.about_mail_label, 275, std::u16string(kAboutMail), &Skin::F14, kCentredTop},
        {s.about_notice_label, l.h - 148, translated(kAboutNotice), &Skin::F14, kCentred},
    };
    for (const Line& line : lines) {
        line.label->set_rect(0, line.y, 480, 40);
        line.label->set_text(line.text);
        line.label->set_font(skin_font(line.font));
        line.label->set_text_format(line.format);
        line.label->set_fit_text(true);
    }

    s.about_logo_picture->set_rect(0, 195, 480, 40);
    s.about_logo_picture->set_image(resource_image(&AppResources::about_picture), image_slot::kUp);
    s.about_logo_picture->set_image_kind(kImagePlain).set_image_placement(kPlaceCentred);

    s.donate_button->set_rect(149, 402, 184, 52);
    stretched(*s.donate_button, resource_image(&AppResources::donate_up),
              resource_image(&AppResources::donate_down));

    s.back_button->set_rect(140, l.h - 84, 200, 60);
    bottom_bar_button(*s.back_button, translated(u"BACK"));

    l.place_as_screen(*s.about_page);
    s.about_page->set_visible(false);
    add_tall_ground(*s.about_page, l);
    add_children(*s.about_page, {s.about_title_label, s.about_platform_label, s.about_version_label,
                                 s.about_logo_picture, s.about_web_label, s.about_mail_label,
                                 s.donate_button, s.about_notice_label, s.back_button});
}

void build_pick_page(const Layout& l) {
    AppState& s = app();
    l.place_as_page(*s.sound_list);
    s.sound_list->set_text_font(skin_font(&Skin::F16))
        .set_subtext_font(skin_font(&Skin::F14))
        .set_background_colour(list_ground(l))
        .set_separator_mode(SelectList::kSeparatorImage)
        .set_separator_image(skin_image(&Skin::Slt_Separator))
        .set_selection_mode(SelectList::kSelectionPattern)
        .set_selection_image(skin_image(&Skin::Slt_ItemSelected));

    // Three buttons share the bar: OK and CANCEL narrow their skin's picture to
    // make room for Record between them.
    s.ok_button->set_rect(320, l.h - 84, 144, 60);
    bottom_bar_button(*s.ok_button, translated(u"OK"));
    s.ok_button->set_image_placement(kPlaceStretched);
    s.cancel_button->set_rect(16, l.h - 84, 144, 60);
    bottom_bar_button(*s.cancel_button, translated(u"CANCEL"));
    s.cancel_button->set_image_placement(kPlaceStretched);
    s.record_button->set_rect(168, l.h - 84, 144, 60);
    masked_button(*s.record_button, resource_image(&AppResources::record_up),
                  resource_image(&AppResources::record_down),
                  resource_image(&AppResources::record_mask), translated(kRecordCaption));
    // The caption stands right of the dot.
    s.record_button->set_text_margins(34, 0, 6, 0);

    l.place_as_screen(*s.pick_page);
    s.pick_page->set_visible(false);
    add_children(*s.pick_page, {s.sound_list, s.ok_button, s.cancel_button, s.record_button});
}

void build_frame(const Layout& l) {
    AppState& s = app();
    s.top_bar_picture->set_rect(0, 0, l.w, l.top_bar);
    stretched(*s.top_bar_picture, skin_image(&Skin::Pic_TopBar_App));

    s.close_button->set_rect(l.w - l.top_bar, 0, scale_x(26), l.top_bar);
    stretched(*s.close_button, skin_image(&Skin::Btn_TopBar_Close_Up),
              skin_image(&Skin::Btn_TopBar_Close_Dn));

    s.about_button->set_rect(l.w - 2 * l.top_bar, 0, scale_x(26), l.top_bar);
    stretched(*s.about_button, skin_image(&Skin::Btn_TopBar_About_Up),
              skin_image(&Skin::Btn_TopBar_About_Dn));
    s.about_button->set_image(skin_image(&Skin::Btn_TopBar_About_Ds), image_slot::kDisabled);
    s.about_button->set_visible(false);

    s.bottom_bar_picture->set_rect(0, l.h - l.bottom_bar, scale_x(240), l.bottom_bar);
    stretched(*s.bottom_bar_picture, skin_image(&Skin::Pic_BottomBar));

    s.frame_panel->set_rect(0, 0, l.w, l.h);
    s.frame_panel->set_visible(false);
    add_children(*s.frame_panel, {s.top_bar_picture, s.close_button, s.about_button,
                                  s.bottom_bar_picture, s.main_panel, s.about_page, s.pick_page});

    s.root_panel->set_rect(0, 0, l.w, l.h);
    s.root_panel->add_child(s.frame_panel);
}

}  // namespace

int build_screens() {
    create_controls();
    const Layout layout;
    build_tabs(layout);
    build_home_page(layout);
    build_sounds_page(layout);
    build_settings_page(layout);
    build_main_panel(layout);
    build_about_page(layout);
    build_pick_page(layout);
    build_frame(layout);
    return 1;
}

}  // namespace tiltophon
