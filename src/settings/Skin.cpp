// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/Skin.h"

#include "platform/Platform.h"
#include "settings/FolderIndex.h"
#include "vavurud/Draw.h"

namespace tiltophon {

namespace {

struct ImageField {
    Image Skin::*field;
    std::u16string_view name;
};

constexpr ImageField kImages[Skin::kImageCount] = {
    {&Skin::Pic_TopBar_App, u"Pic_TopBar_App"},
    {&Skin::Btn_TopBar_Close_Up, u"Btn_TopBar_Close_Up"},
    {&Skin::Btn_TopBar_Close_Dn, u"Btn_TopBar_Close_Dn"},
    {&Skin::Btn_TopBar_About_Up, u"Btn_TopBar_About_Up"},
    {&Skin::Btn_TopBar_About_Dn, u"Btn_TopBar_About_Dn"},
    {&Skin::Btn_TopBar_About_Ds, u"Btn_TopBar_About_Ds"},
    {&Skin::Chk_BottomBar_Home_Up, u"Chk_BottomBar_Home_Up"},
    {&Skin::Chk_BottomBar_Home_Dn, u"Chk_BottomBar_Home_Dn"},
    {&Skin::Chk_BottomBar_Sounds_Up, u"Chk_BottomBar_Sounds_Up"},
    {&Skin::Chk_BottomBar_Sounds_Dn, u"Chk_BottomBar_Sounds_Dn"},
    {&Skin::Chk_BottomBar_Settings_Up, u"Chk_BottomBar_Settings_Up"},
    {&Skin::Chk_BottomBar_Settings_Dn, u"Chk_BottomBar_Settings_Dn"},
    {&Skin::Pic_SlotGrid_L1C1, u"Pic_SlotGrid_L1C1"},
    {&Skin::Pic_SlotGrid_L1C3, u"Pic_SlotGrid_L1C3"},
    {&Skin::Pic_SlotGrid_L3C1, u"Pic_SlotGrid_L3C1"},
    {&Skin::Pic_SlotGrid_L3C3, u"Pic_SlotGrid_L3C3"},
    {&Skin::Btn_SlotGrid_L1C2_Up, u"Btn_SlotGrid_L1C2_Up"},
    {&Skin::Btn_SlotGrid_L1C2_Dn, u"Btn_SlotGrid_L1C2_Dn"},
    {&Skin::Btn_SlotGrid_L2C3_Up, u"Btn_SlotGrid_L2C3_Up"},
    {&Skin::Btn_SlotGrid_L2C3_Dn, u"Btn_SlotGrid_L2C3_Dn"},
    {&Skin::Btn_SlotGrid_L3C2_Up, u"Btn_SlotGrid_L3C2_Up"},
    {&Skin::Btn_SlotGrid_L3C2_Dn, u"Btn_SlotGrid_L3C2_Dn"},
    {&Skin::Btn_SlotGrid_L2C1_Up, u"Btn_SlotGrid_L2C1_Up"},
    {&Skin::Btn_SlotGrid_L2C1_Dn, u"Btn_SlotGrid_L2C1_Dn"},
    {&Skin::Btn_SlotGrid_L2C2_Up, u"Btn_SlotGrid_L2C2_Up"},
    {&Skin::Btn_SlotGrid_L2C2_Dn, u"Btn_SlotGrid_L2C2_Dn"},
    {&Skin::Pic_OpenSoundsType, u"Pic_OpenSoundsType"},
    {&Skin::BtnEx_OpenSound_Up, u"BtnEx_OpenSound_Up"},
    {&Skin::BtnEx_OpenSound_Dn, u"BtnEx_OpenSound_Dn"},
    {&Skin::Btn_PlaySound_Up, u"Btn_PlaySound_Up"},
    {&Skin::Btn_PlaySound_Dn, u"Btn_PlaySound_Dn"},
    {&Skin::Cmb_General_Up, u"Cmb_General_Up"},
    {&Skin::Cmb_General_Dn_L, u"Cmb_General_Dn_L"},
    {&Skin::Cmb_General_Dn_R, u"Cmb_General_Dn_R"},
    {&Skin::Chk_General_Up, u"Chk_General_Up"},
    {&Skin::Chk_General_Dn, u"Chk_General_Dn"},
    {&Skin::Chk_General_2_Up, u"Chk_General_2_Up"},
    {&Skin::Chk_General_2_Dn, u"Chk_General_2_Dn"},
    {&Skin::Btn_General_Up, u"Btn_General_Up"},
    {&Skin::Btn_General_Dn, u"Btn_General_Dn"},
    {&Skin::Btn_BottomBar_Up, u"Btn_BottomBar_Up"},
    {&Skin::Btn_BottomBar_Dn, u"Btn_BottomBar_Dn"},
    {&Skin::Btn_BottomBar_Mask, u"Btn_BottomBar_Mask"},
    {&Skin::Pic_BottomBar, u"Pic_BottomBar"},
    {&Skin::Slt_Separator, u"Slt_Separator"},
    {&Skin::Slt_ItemSelected, u"Slt_ItemSelected"},
};

// Table order, except that the About button's disabled look comes right after the
// pressed Close button.
constexpr int kLoadOrder[Skin::kImageCount] = {0, 1, 2, 5, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                               16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
                                               29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41,
                                               42, 43, 44, 45};

struct FontField {
    FontHandle Skin::*field;
    int32_t design_height;  // pixels at 96 dpi
    bool semibold;
};

constexpr FontField kFonts[Skin::kFontCount] = {
    {&Skin::F14, 14, false}, {&Skin::F16, 16, false}, {&Skin::F18, 18, false},
    {&Skin::F14B, 14, true}, {&Skin::F16B, 16, true}, {&Skin::F18B, 18, true},
};

}  // namespace

int32_t Skin::Load(std::u16string_view skin_folder, std::u16string_view) {
    const FolderIndex folder(skin_folder);
    ImageCodec* codec = platform().images;
    for (int index : kLoadOrder) {
        PathText file(kImages[index].name);
        file.append(u".png");
        owned_images_[index] = codec ? codec->load_png(folder.path_of(file).view()) : nullptr;
        this->*kImages[index].field = owned_images_[index].get();
    }
    load_language_images(skin_folder);
    for (int index = 0; index < kFontCount; ++index) {
        // The screen's dpi is read once, on first use, by the shared scaling rule.
        const int32_t height = scale_y(kFonts[index].design_height);
        owned_fonts_[index] = CreateSkinFont(kFace, height, kFonts[index].semibold, false, false);
        this->*kFonts[index].field = owned_fonts_[index].get();
    }
    return 1;
}

void Skin::load_language_images(std::u16string_view skin_folder) {
    ImageCodec* codec = platform().images;
    const std::u16string language = caption_language();
    if (!codec || language.empty()) return;
    PathText language_folder(skin_folder);
    language_folder.append(language).append(u"/");
    const FolderIndex folder(language_folder.view());
    for (int index : kLoadOrder) {
        PathText file(kImages[index].name);
        file.append(u".png");
        std::unique_ptr<Bitmap> image = codec->load_png(folder.path_of(file).view());
        if (!image) continue;
        owned_images_[index] = std::move(image);
        this->*kImages[index].field = owned_images_[index].get();
    }
}

Colour Skin::accent_colour() const {
    const Bitmap* selection = Slt_ItemSelected;
    if (!selection || selection->width() <= 0 || selection->height() <= 0) return kDefaultAccent;
    return colour_from_pixel(selection->pixel(selection->width() / 2, selection->height() / 2));
}

void Skin::Release() {
    for (int index = 0; index < kImageCount; ++index) {
        this->*kImages[index].field = nullptr;
        owned_images_[index].reset();
    }
    for (int index = 0; index < kFontCount; ++index) {
        this->*kFonts[index].field = nullptr;
        owned_fonts_[index].reset();
    }
}

LogicalFont Skin::skin_font_description(std::u16string_view face, int32_t height, bool semibold,
                                        bool italic, bool underline) {
    LogicalFont description;
    description.height = height;
    description.weight = semibold ? 600 : 500;
    description.italic = italic;
    description.underline = underline;
    description.char_set = 238;         // Central European
    description.output_precision = 6;   // raster precision
    description.clip_precision = 0;
    description.quality = 5;            // ClearType
    description.pitch_and_family = 0;
    description.face.assign(face);
    return description;
}

std::unique_ptr<Font> Skin::CreateSkinFont(std::u16string_view face, int32_t height, bool semibold,
                                           bool italic, bool underline) {
    if (!platform().fonts) return nullptr;
    return platform().fonts->create_font(
        skin_font_description(face, height, semibold, italic, underline));
}

Image Skin::image(int index) const {
    return index >= 0 && index < kImageCount ? this->*kImages[index].field : nullptr;
}

FontHandle Skin::font(int index) const {
    return index >= 0 && index < kFontCount ? this->*kFonts[index].field : nullptr;
}

std::u16string_view Skin::image_name(int index) {
    return index >= 0 && index < kImageCount ? kImages[index].name : std::u16string_view();
}

}  // namespace tiltophon
