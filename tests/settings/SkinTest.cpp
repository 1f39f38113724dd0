// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Text.h"
#include "program/HeadlessPlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "settings/Skin.h"
#include "support/ProgramFolder.h"

namespace tiltophon {
namespace {

class SkinTest : public ::testing::Test {
protected:
    SkinTest() {
        headless.services().files = &files;
        install_platform(headless.services());
    }

    void write_picture(const std::string& name) {
        ASSERT_TRUE(PngImageCodec::save_png(Bitmap(3, 2, 0xFF112233), utf16_from_utf8(folder.file(name))));
    }

    std::vector<int> loaded_fields() const {
        std::vector<int> fields;
        for (int i = 0; i < Skin::kImageCount; ++i) {
            if (skin.image(i)) fields.push_back(i);
        }
        return fields;
    }

    HeadlessPlatform headless;
    PosixFileSystem files;
    TempFolder folder;
    Skin skin;
};

TEST_F(SkinTest, AnEmptyFolderLoadsNoPicturesButAllFonts) {
    EXPECT_EQ(skin.Load(folder_path(folder), folder_path(folder) + u"Skin.txt"), 1);
    EXPECT_TRUE(loaded_fields().empty());
    for (int i = 0; i < Skin::kFontCount; ++i) EXPECT_TRUE(skin.font(i)) << i;
    // A folder that does not exist is no different.
    Skin other;
    EXPECT_EQ(other.Load(u"/nonexistent/Skin/", u""), 1);
    EXPECT_TRUE(other.image(43) == nullptr);
}

TEST_F(SkinTest, OnlyTheBottomBarPictureFillsExactlyItsField) {
    write_picture("Pic_BottomBar.png");
    skin.Load(folder_path(folder), u"");
    EXPECT_EQ(loaded_fields(), std::vector<int>{43});
    ASSERT_TRUE(skin.Pic_BottomBar);
    EXPECT_EQ(skin.Pic_BottomBar->width(), 3);
    EXPECT_EQ(skin.image_name(43), u"Pic_BottomBar");
    EXPECT_EQ(skin.image_name(5), u"Btn_TopBar_About_Ds");
    EXPECT_EQ(skin.image_name(42), u"Btn_BottomBar_Mask");
}

TEST_F(SkinTest, FileNamesMatchWhateverTheirLetterCase) {
    write_picture("pic_bottombar.png");
    write_picture("SLT_SEPARATOR.PNG");
    write_picture("Chk_General_Up.png");
    skin.Load(folder_path(folder), u"");
    EXPECT_EQ(loaded_fields(), (std::vector<int>{34, 43, 44}));

    // Without a way to list the folder only exact names are found.
    headless.services().files = nullptr;
    install_platform(headless.services());
    Skin exact;
    exact.Load(folder_path(folder), u"");
    EXPECT_TRUE(exact.Chk_General_Up);
    EXPECT_FALSE(exact.Pic_BottomBar);
}

// Records what is asked of the platform instead of doing it.
class RecordingImages : public ImageCodec {
public:
    std::unique_ptr<Bitmap> load_png(std::u16string_view path) override {
        paths.emplace_back(path);
        return std::make_unique<Bitmap>(1, 1);
    }
    std::vector<std::u16string> paths;
};

class RecordingFonts : public FontEngine {
public:
    std::unique_ptr<Font> create_font(const LogicalFont& description) override {
        asked.push_back(description);
        return nullptr;
    }
    const Font* default_font() override { return nullptr; }
    std::vector<LogicalFont> asked;
};

TEST_F(SkinTest, LoadsInTableOrderWithTheAboutDisabledLookThird) {
    RecordingImages images;
    headless.services().images = &images;
    headless.services().files = nullptr;
    install_platform(headless.services());
    skin.Load(u"/skins/Dark/", u"/skins/Dark/Skin.txt");
    ASSERT_EQ(images.paths.size(), 46u);
    EXPECT_EQ(images.paths[0], u"/skins/Dark/Pic_TopBar_App.png");
    EXPECT_EQ(images.paths[2], u"/skins/Dark/Btn_TopBar_Close_Dn.png");
    EXPECT_EQ(images.paths[3], u"/skins/Dark/Btn_TopBar_About_Ds.png");
    EXPECT_EQ(images.paths[4], u"/skins/Dark/Btn_TopBar_About_Up.png");
    EXPECT_EQ(images.paths[5], u"/skins/Dark/Btn_TopBar_About_Dn.png");
    EXPECT_EQ(images.paths[6], u"/skins/Dark/Chk_BottomBar_Home_Up.png");
    EXPECT_EQ(images.paths[45], u"/skins/Dark/Slt_ItemSelected.png");
    EXPECT_EQ(loaded_fields().size(), 46u);
}

TEST_F(SkinTest, FontsAreCellHeightsScaledFromTheDesignSizes) {
    skin.Load(folder_path(folder), u"");
    const int32_t heights[] = {28, 32, 36, 28, 32, 36};
    for (int i = 0; i < Skin::kFontCount; ++i) {
        ASSERT_TRUE(skin.font(i));
        EXPECT_EQ(skin.font(i)->ascent() + skin.font(i)->descent(), heights[i]) << i;
    }
    EXPECT_EQ(skin.font(3), skin.F14B);

    RecordingFonts fonts;
    headless.services().fonts = &fonts;
    install_platform(headless.services());
    Skin recorded;
    recorded.Load(folder_path(folder), u"");
    ASSERT_EQ(fonts.asked.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const LogicalFont& f = fonts.asked[i];
        EXPECT_EQ(f.height, heights[i]);
        EXPECT_EQ(f.weight, i < 3 ? 500 : 600);
        EXPECT_FALSE(f.italic);
        EXPECT_FALSE(f.underline);
        EXPECT_EQ(f.char_set, 238);
        EXPECT_EQ(f.output_precision, 6);
        EXPECT_EQ(f.clip_precision, 0);
        EXPECT_EQ(f.quality, 5);
        EXPECT_EQ(f.pitch_and_family, 0);
        EXPECT_EQ(f.face.view(), u"HelveticaNeue LT 35 Thin");
    }
    // The face is bounded to 31 units and its terminator.
    const LogicalFont long_face = Skin::skin_font_description(
        u"A face name far longer than thirty-two units", 10, true, true, true);
    EXPECT_EQ(long_face.face.view(), u"A face name far longer than thi");
    EXPECT_TRUE(long_face.italic && long_face.underline);
}

TEST_F(SkinTest, FontsAtNinetySixDpi) {
    HeadlessPlatform low({480, 640, 96, 96});
    Skin small;
    small.Load(folder_path(folder), u"");
    ASSERT_TRUE(small.F18B);
    EXPECT_EQ(small.F14->ascent() + small.F14->descent(), 14);
    EXPECT_EQ(small.F18B->ascent() + small.F18B->descent(), 18);
}

TEST_F(SkinTest, ReleaseEmptiesEveryHandle) {
    skin.Release();  // nothing loaded yet: nothing to free
    write_picture("Pic_TopBar_App.png");
    write_picture("Slt_ItemSelected.png");
    skin.Load(folder_path(folder), u"");
    ASSERT_TRUE(skin.Pic_TopBar_App && skin.F16);
    skin.Release();
    EXPECT_TRUE(loaded_fields().empty());
    for (int i = 0; i < Skin::kFontCount; ++i) EXPECT_FALSE(skin.font(i));
    skin.Release();
}

}  // namespace
}  // namespace tiltophon
