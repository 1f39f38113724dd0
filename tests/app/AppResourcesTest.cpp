// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "app/AppResources.h"
#include "platform/Text.h"
#include "program/HeadlessPlatform.h"
#include "support/ProgramFolder.h"

namespace tiltophon {
namespace {

// A program that lives in the test's folder.
class ProgramInFolder : public FileSystem {
public:
    explicit ProgramInFolder(std::u16string program) : program_(std::move(program)) {}
    std::u16string program_path() override { return program_; }
    std::vector<DirectoryEntry> list_directory(std::u16string_view) override { return {}; }

private:
    std::u16string program_;
};

class AppResourcesTest : public ::testing::Test {
protected:
    void write(std::u16string_view file, int32_t width, int32_t height) {
        PathText path(folder_path(folder));
        path.append(file);
        ASSERT_TRUE(PngImageCodec::save_png(Bitmap(width, height, 0xFF203040), path.view()));
    }

    HeadlessPlatform headless;
    TempFolder folder;
};

TEST_F(AppResourcesTest, LoadsThePicturesBesideTheProgram) {
    write(AppResources::kIconFile, 128, 128);
    write(AppResources::kSplashFile, 480, 480);
    write(AppResources::kAboutFile, 380, 40);
    write(AppResources::kDonateUpFile, 184, 52);
    // The pressed donation picture is missing.
    ProgramInFolder files(folder_path(folder) + u"tiltophon");
    headless.services().files = &files;
    install_platform(headless.services());

    AppResources resources;
    EXPECT_FALSE(resources.icon);
    resources.load();
    ASSERT_TRUE(resources.icon && resources.splash_bitmap && resources.about_picture &&
                resources.donate_up);
    EXPECT_EQ(resources.icon->width(), 128);
    EXPECT_EQ(resources.splash_bitmap->height(), 480);
    EXPECT_EQ(resources.about_picture->width(), 380);
    EXPECT_EQ(resources.donate_up->height(), 52);
    EXPECT_FALSE(resources.donate_down);

    Image icon = resources.icon;
    resources.release();
    EXPECT_FALSE(resources.icon || resources.splash_bitmap || resources.about_picture ||
                 resources.donate_up || resources.donate_down);
    // The icon is not destroyed: a window may still be showing it.
    EXPECT_EQ(icon->pixel(5, 5), 0xFF203040u);
}

TEST_F(AppResourcesTest, AGivenFolderOrNoProgramPath) {
    write(AppResources::kAboutFile, 380, 40);
    AppResources given(folder_path(folder));
    given.load();
    EXPECT_TRUE(given.about_picture);
    EXPECT_FALSE(given.icon);

    // No file system to say where the program is: nothing loads, nothing breaks.
    AppResources nowhere;
    nowhere.load();
    EXPECT_FALSE(nowhere.about_picture);
    nowhere.release();
}

}  // namespace
}  // namespace tiltophon
