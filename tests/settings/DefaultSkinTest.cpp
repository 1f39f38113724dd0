// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/AppResources.h"
#include "platform/Text.h"
#include "program/HeadlessPlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "settings/Skin.h"

namespace tiltophon {
namespace {

// The skin and pictures the build draws into the program folder, checked against the
// places the screens give them on a 480 x 640, 192-dpi screen.
class DefaultSkinTest : public ::testing::Test {
protected:
    DefaultSkinTest() {
        headless.services().files = &files;
        install_platform(headless.services());
    }
    HeadlessPlatform headless;
    PosixFileSystem files;
    const std::u16string program = utf16_from_utf8(TILTOPHON_PROGRAM_DIR "/");
};

TEST_F(DefaultSkinTest, EveryImageLoadsAtItsScreenSize) {
    Skin skin;
    skin.Load(program + u"Skin/", program + u"Skin/Skin.txt");
    const std::map<std::u16string, std::pair<int, int>> sizes = {
        {u"Pic_TopBar_App", {480, 52}},       {u"Btn_TopBar_Close_Up", {52, 52}},
        {u"Btn_TopBar_About_Ds", {52, 52}},   {u"Chk_BottomBar_Sounds_Dn", {160, 108}},
        {u"Pic_SlotGrid_L3C3", {160, 160}},   {u"Btn_SlotGrid_L2C2_Up", {160, 160}},
        {u"Pic_OpenSoundsType", {70, 480}},   {u"BtnEx_OpenSound_Dn", {325, 96}},
        {u"Btn_PlaySound_Up", {85, 96}},      {u"Cmb_General_Dn_R", {200, 60}},
        {u"Chk_General_Dn", {200, 60}},       {u"Chk_General_2_Up", {72, 72}},
        {u"Btn_BottomBar_Mask", {200, 60}},   {u"Pic_BottomBar", {480, 108}},
        {u"Slt_ItemSelected", {480, 80}},
    };
    for (int i = 0; i < Skin::kImageCount; ++i) {
        Image image = skin.image(i);
        ASSERT_TRUE(image) << utf8_from_utf16(Skin::image_name(i));
        auto size = sizes.find(std::u16string(Skin::image_name(i)));
        if (size == sizes.end()) continue;
        EXPECT_EQ(image->width(), size->second.first) << utf8_from_utf16(Skin::image_name(i));
        EXPECT_EQ(image->height(), size->second.second) << utf8_from_utf16(Skin::image_name(i));
    }
    // The bottom-bar buttons are drawn masked: wherever the mask lets the background
    // through, both looks are black so that OR leaves the background alone.
    const Bitmap& mask = *skin.Btn_BottomBar_Mask;
    int background = 0;
    for (int32_t y = 0; y < mask.height(); ++y) {
        for (int32_t x = 0; x < mask.width(); ++x) {
            const uint32_t m = mask.pixel(x, y);
            ASSERT_TRUE(m == 0xFFFFFFFFu || m == 0xFF000000u);
            if (m == 0xFFFFFFFFu) {
                ++background;
                ASSERT_EQ(skin.Btn_BottomBar_Up->pixel(x, y), 0xFF000000u);
                ASSERT_EQ(skin.Btn_BottomBar_Dn->pixel(x, y), 0xFF000000u);
            }
        }
    }
    EXPECT_GT(background, 0);
}

TEST_F(DefaultSkinTest, ProgramAndSoundSetPictures) {
    AppResources resources(program);
    resources.load();
    ASSERT_TRUE(resources.icon && resources.splash_bitmap && resources.about_picture &&
                resources.donate_up && resources.donate_down);
    EXPECT_EQ(resources.icon->width(), 128);
    EXPECT_EQ(resources.splash_bitmap->width(), 480);
    EXPECT_EQ(resources.splash_bitmap->height(), 480);
    EXPECT_EQ(resources.about_picture->width(), 380);
    EXPECT_EQ(resources.about_picture->height(), 40);
    EXPECT_EQ(resources.donate_down->width(), 184);
    EXPECT_EQ(resources.donate_down->height(), 52);

    PngImageCodec codec;
    for (const char16_t* set : {u"Drums", u"Bells", u"Voices", u"Synth"}) {
        const std::u16string base = program + u"Sounds/" + set + u"/" + set;
        auto big = codec.load_png(base + u"B.png");
        auto small = codec.load_png(base + u"S.png");
        ASSERT_TRUE(big && small) << utf8_from_utf16(set);
        EXPECT_EQ(big->width(), 96);
        EXPECT_EQ(small->width(), 48);
        // Their rounded corners are keyed out in magenta.
        EXPECT_EQ(big->pixel(0, 0), 0xFFFF00FFu);
        EXPECT_EQ(small->pixel(47, 47), 0xFFFF00FFu);
        EXPECT_NE(big->pixel(48, 4), 0xFFFF00FFu);
    }
}

}  // namespace
}  // namespace tiltophon
