// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Text.h"

namespace tiltophon {

// The program's own pictures: its icon, the splash picture, the About picture and the
// two looks of the donation button. They are PNG files installed in the program
// folder beside the executable:
//
//   tiltophon.png     icon, 128 x 128
//   splash.png        splash picture, 480 x 480
//   about.png         About page picture, 380 x 40
//   donate-up.png     donation button, released, 184 x 52
//   donate-down.png   donation button, pressed, 184 x 52
//   record-up.png     the pick screen's Record button at rest, 144 x 60
//   record-down.png   the Record button pressed
//   record-on.png     the Record button while a take runs
//   record-mask.png   the Record button's mask, for all three
//
// A picture that is missing or cannot be decoded leaves its handle null.
class AppResources {
public:
    static constexpr std::u16string_view kIconFile = u"tiltophon.png";
    static constexpr std::u16string_view kSplashFile = u"splash.png";
    static constexpr std::u16string_view kAboutFile = u"about.png";
    static constexpr std::u16string_view kDonateUpFile = u"donate-up.png";
    static constexpr std::u16string_view kDonateDownFile = u"donate-down.png";
    static constexpr std::u16string_view kRecordUpFile = u"record-up.png";
    static constexpr std::u16string_view kRecordDownFile = u"record-down.png";
    static constexpr std::u16string_view kRecordOnFile = u"record-on.png";
    static constexpr std::u16string_view kRecordMaskFile = u"record-mask.png";

    // `instance` is the folder the pictures are loaded from, ending with the separator;
    // empty means the folder of the running program.
    explicit AppResources(std::u16string_view instance = {});
    AppResources(const AppResources&) = delete;
    AppResources& operator=(const AppResources&) = delete;

    Image icon = nullptr;
    Image splash_bitmap = nullptr;
    Image about_picture = nullptr;
    Image donate_up = nullptr;
    Image donate_down = nullptr;
    Image record_up = nullptr;
    Image record_down = nullptr;
    Image record_on = nullptr;
    Image record_mask = nullptr;
    PathText instance;

    void load();
    // Frees the bitmaps and empties all handles. The icon itself stays alive:
    // the window may still show it.
    void release();

private:
    std::unique_ptr<Bitmap> icon_storage_;
    std::unique_ptr<Bitmap> splash_storage_;
    std::unique_ptr<Bitmap> about_storage_;
    std::unique_ptr<Bitmap> donate_up_storage_;
    std::unique_ptr<Bitmap> donate_down_storage_;
    std::unique_ptr<Bitmap> record_up_storage_;
    std::unique_ptr<Bitmap> record_down_storage_;
    std::unique_ptr<Bitmap> record_on_storage_;
    std::unique_ptr<Bitmap> record_mask_storage_;
};

}  // namespace tiltophon
