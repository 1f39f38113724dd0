// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Font.h"

namespace tiltophon {

// Every picture the controls draw and the six fonts they write with, loaded once from
// the skin folder. The skin owns all of them; controls only borrow the handles. A
// picture that is missing or cannot be decoded, or a font that cannot be made, stays
// null, and whatever would draw it draws nothing.
class Skin {
public:
    static constexpr int kImageCount = 46;
    static constexpr int kFontCount = 6;
    static constexpr std::u16string_view kFace = u"HelveticaNeue LT 35 Thin";

    Skin() = default;
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    // The images, each named after its file without ".png".
    Image Pic_TopBar_App = nullptr;
    Image Btn_TopBar_Close_Up = nullptr;
    Image Btn_TopBar_Close_Dn = nullptr;
    Image Btn_TopBar_About_Up = nullptr;
    Image Btn_TopBar_About_Dn = nullptr;
    Image Btn_TopBar_About_Ds = nullptr;
    Image Chk_BottomBar_Home_Up = nullptr;
    Image Chk_BottomBar_Home_Dn = nullptr;
    Image Chk_BottomBar_Sounds_Up = nullptr;
    Image Chk_BottomBar_Sounds_Dn = nullptr;
    Image Chk_BottomBar_Settings_Up = nullptr;
    Image Chk_BottomBar_Settings_Dn = nullptr;
    Image Pic_SlotGrid_L1C1 = nullptr;
    Image Pic_SlotGrid_L1C3 = nullptr;
    Image Pic_SlotGrid_L3C1 = nullptr;
    Image Pic_SlotGrid_L3C3 = nullptr;
    Image Btn_SlotGrid_L1C2_Up = nullptr;
    Image Btn_SlotGrid_L1C2_Dn = nullptr;
    Image Btn_SlotGrid_L2C3_Up = nullptr;
    Image Btn_SlotGrid_L2C3_Dn = nullptr;
    Image Btn_SlotGrid_L3C2_Up = nullptr;
    Image Btn_SlotGrid_L3C2_Dn = nullptr;
    Image Btn_SlotGrid_L2C1_Up = nullptr;
    Image Btn_SlotGrid_L2C1_Dn = nullptr;
    Image Btn_SlotGrid_L2C2_Up = nullptr;
    Image Btn_SlotGrid_L2C2_Dn = nullptr;
    Image Pic_OpenSoundsType = nullptr;
    Image BtnEx_OpenSound_Up = nullptr;
    Image BtnEx_OpenSound_Dn = nullptr;
    Image Btn_PlaySound_Up = nullptr;
    Image Btn_PlaySound_Dn = nullptr;
    Image Cmb_General_Up = nullptr;
    Image Cmb_General_Dn_L = nullptr;
    Image Cmb_General_Dn_R = nullptr;
    Image Chk_General_Up = nullptr;
    Image Chk_General_Dn = nullptr;
    Image Chk_General_2_Up = nullptr;
    Image Chk_General_2_Dn = nullptr;
    Image Btn_General_Up = nullptr;
    Image Btn_General_Dn = nullptr;
    Image Btn_BottomBar_Up = nullptr;
    Image Btn_BottomBar_Dn = nullptr;
    Image Btn_BottomBar_Mask = nullptr;
    Image Pic_BottomBar = nullptr;
    Image Slt_Separator = nullptr;
    Image Slt_ItemSelected = nullptr;

    // Cell heights 14, 16, 18 at 96 dpi, scaled to the screen; weight 500, "B" 600.
    FontHandle F14 = nullptr;
    FontHandle F16 = nullptr;
    FontHandle F18 = nullptr;
    FontHandle F14B = nullptr;
    FontHandle F16B = nullptr;
    FontHandle F18B = nullptr;

    // Loads the images from `skin_folder` (which ends with the separator) and creates
    // the fonts. The description file is not read. Always 1.
    int32_t Load(std::u16string_view skin_folder, std::u16string_view description_file);
    // Frees every image and font and sets every handle to null.
    void Release();

    // One font of the skin's fixed description; null when none can be had.
    static std::unique_ptr<Font> CreateSkinFont(std::u16string_view face, int32_t height,
                                                bool semibold, bool italic, bool underline);
    // The logical font that CreateSkinFont asks the platform for.
    static LogicalFont skin_font_description(std::u16string_view face, int32_t height,
                                             bool semibold, bool italic, bool underline);

    // The skin's accent: the colour in the middle of its selection picture
    // "Slt_ItemSelected", so a skin of one's own brings its own; amber without it.
    Colour accent_colour() const;
    static constexpr Colour kDefaultAccent = 0x3DC2FF;

    // Field access by the order of the fields above: images 0 to 45, fonts 0 to 5.
    Image image(int index) const;
    FontHandle font(int index) const;
    static std::u16string_view image_name(int index);

private:
    // The pictures with words in them in the captions' language: the images of the
    // skin folder's sub-folder named after the language ("Skin/de/") take the place
    // of those of the skin folder.
    void load_language_images(std::u16string_view skin_folder);

    std::array<std::unique_ptr<Bitmap>, kImageCount> owned_images_;
    std::array<std::unique_ptr<Font>, kFontCount> owned_fonts_;
};

}  // namespace tiltophon
