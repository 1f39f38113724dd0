// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Sheet.h"

#include <map>

#include "settings/Skin.h"
#include "vavurud/Draw.h"

namespace tiltophon::skingen {

namespace {

class Page {
public:
    Page(const std::map<std::string, const Bitmap*>& pictures) : pictures_(pictures) {
        f14_ = Skin::CreateSkinFont(Skin::kFace, 28, false, false, false);
        f14b_ = Skin::CreateSkinFont(Skin::kFace, 28, true, false, false);
        f16_ = Skin::CreateSkinFont(Skin::kFace, 32, false, false, false);
        f16b_ = Skin::CreateSkinFont(Skin::kFace, 32, true, false, false);
        f18b_ = Skin::CreateSkinFont(Skin::kFace, 36, true, false, false);
    }

    Image at(const std::string& path) const {
        auto found = pictures_.find(path);
        return found == pictures_.end() ? nullptr : found->second;
    }
    Image skin(const std::string& name) const { return at("Skin/" + name + ".png"); }

    Bitmap frame(int tab) const {
        Bitmap f(480, 640);
        blit_stretched(f, {0, 0, 480, 52}, skin("Pic_TopBar_App"));
        blit_stretched(f, {428, 0, 480, 52}, skin("Btn_TopBar_Close_Up"));
        if (tab == 2) blit_stretched(f, {376, 0, 428, 52}, skin("Btn_TopBar_About_Up"));
        blit_stretched(f, {0, 532, 480, 640}, skin("Pic_BottomBar"));
        if (tab >= 0) {
            const char* names[] = {"Home", "Sounds", "Settings"};
            for (int i = 0; i < 3; ++i) {
                blit_stretched(f, {160 * i, 532, 160 * i + 160, 640},
                               skin(std::string("Chk_BottomBar_") + names[i] + (i == tab ? "_Dn" : "_Up")));
            }
        }
        return f;
    }

    Bitmap home() const {
        Bitmap f = frame(0);
        const char* cells[] = {"L1C2", "L2C3", "L3C2", "L2C1", "L2C2"};
        const Rect rects[] = {{160, 52, 320, 212}, {320, 212, 480, 372}, {160, 372, 320, 532},
                              {0, 212, 160, 372}, {160, 212, 320, 372}};
        const char* sets[] = {"Drums", "Bells", "Voices", "Synth", ""};
        blit_stretched(f, {0, 52, 160, 212}, skin("Pic_SlotGrid_L1C1"));
        blit_stretched(f, {320, 52, 480, 212}, skin("Pic_SlotGrid_L1C3"));
        blit_stretched(f, {0, 372, 160, 532}, skin("Pic_SlotGrid_L3C1"));
        blit_stretched(f, {320, 372, 480, 532}, skin("Pic_SlotGrid_L3C3"));
        for (int i = 0; i < 5; ++i) {
            blit_stretched(f, rects[i], skin(std::string("Btn_SlotGrid_") + cells[i] + (i == 1 ? "_Dn" : "_Up")));
            const std::string set = sets[i];
            if (!set.empty()) {
                blit_stretched_transparent(f, deflate_rect(rects[i], 32, 32, 32, 32),
                                           at("Sounds/" + set + "/" + set + "B.png"), kKeyColour);
            }
        }
        const Rect pulse{44, 416, 116, 488};
        const Rect motion{364, 416, 436, 488};
        blit_stretched(f, pulse, skin("Chk_General_2_Dn"));
        blit_stretched(f, motion, skin("Chk_General_2_Up"));
        const uint32_t bottom = text_format::kSingleLine | text_format::kCentre | text_format::kBottom |
                                text_format::kEndEllipsis;
        draw_text(f, u"On", deflate_rect(pulse, 4, 4, 4, 4), bottom, 0xFFFFFF, f14b_.get());
        draw_text(f, u"Off", deflate_rect(motion, 4, 4, 4, 4), bottom, 0xFFFFFF, f14b_.get());
        return f;
    }

    Bitmap sounds() const {
        Bitmap f = frame(1);
        blit_centered(f, {0, 52, 70, 532}, skin("Pic_OpenSoundsType"));
        const char* sets[] = {"Drums", "Bells", "Voices", "Synth", "Drums"};
        const char16_t* folders[] = {u"Drums", u"Bells", u"Voices", u"Synth", u"Drums"};
        const char16_t* files[] = {u"Kick.wav", u"Glass Chime.wav", u"Choir Aah with a long name.wav",
                                   u"Bass.wav", u"Snare.wav"};
        for (int n = 0; n < 5; ++n) {
            const int32_t y = 52 + 96 * n;
            const bool pressed = n == 2;
            blit_stretched(f, {70, y, 395, y + 96}, skin(pressed ? "BtnEx_OpenSound_Dn" : "BtnEx_OpenSound_Up"));
            blit_stretched_transparent(f, {82, y + 24, 130, y + 72},
                                       at(std::string("Sounds/") + sets[n] + "/" + sets[n] + "S.png"), kKeyColour);
            draw_text(f, folders[n], {142, y + 12, 383, y + 48}, text_format::kDefault,
                      pressed ? 0x000000 : 0xFFFFFF, f16b_.get());
            draw_text(f, files[n], {142, y + 48, 383, y + 84}, text_format::kDefault,
                      pressed ? 0x000000 : 0xCCCCCC, f14_.get());
            blit_stretched(f, {395, y, 480, y + 96}, skin(n == 4 ? "Btn_PlaySound_Dn" : "Btn_PlaySound_Up"));
        }
        return f;
    }

    Bitmap settings() const {
        Bitmap f = frame(2);
        auto label = [&](const char16_t* text, Rect r, int32_t margin) {
            draw_text(f, text, deflate_rect(r, margin, 0, 0, 0), text_format::kDefault, 0xFFFFFF, f14_.get());
        };
        label(u"Sensitivity", {0, 60, 240, 100}, 20);
        const char16_t* axes[] = {u"X-axis:", u"Y-axis:", u"Z-axis:"};
        const char16_t* values[] = {u"5", u"10", u"3"};
        for (int i = 0; i < 3; ++i) {
            const int32_t y = 102 + 70 * i;
            label(axes[i], {0, y, 240, y + 60}, 60);
            const Rect r{260, y, 460, y + 60};
            blit_stretched(f, r, skin(i == 1 ? "Cmb_General_Dn_R" : "Cmb_General_Up"));
            draw_text(f, values[i], deflate_rect(r, 4, 2, 4, 2),
                      text_format::kSingleLine | text_format::kCentre | text_format::kVerticalCentre, 0xFFFFFF,
                      f16_.get());
        }
        const char16_t* checks[] = {u"X-Button (Close):", u"Animations:", u"Touch Vibrations:"};
        const int32_t ys[] = {312, 380, 448};
        for (int i = 0; i < 3; ++i) {
            label(checks[i], {0, ys[i], 240, ys[i] + 60}, 20);
            blit_stretched(f, {260, ys[i], 460, ys[i] + 60}, skin(i == 1 ? "Chk_General_Up" : "Chk_General_Dn"));
        }
        return f;
    }

    Bitmap pick() const {
        Bitmap f = frame(-1);
        fill_rect(f, {0, 52, 480, 532}, 0x000000);
        const char* sets[] = {"Bells", "Drums", "Drums", "Synth", "Voices", "Voices"};
        const char16_t* names[] = {u"Glass Chime.wav", u"Kick.wav", u"Snare.wav", u"Bass.wav", u"Choir.wav",
                                   u"Hey.wav"};
        for (int i = 0; i < 6; ++i) {
            const int32_t t = 52 + 80 * i;
            const bool selected = i == 2;
            if (selected) fill_pattern(f, {0, t, 480, t + 80}, skin("Slt_ItemSelected"), rop::kPatternCopy);
            const std::string set = sets[i];
            blit_centered_transparent(f, {0, t, 80, t + 80}, at("Sounds/" + set + "/" + set + "S.png"), kKeyColour);
            const std::u16string folder(set.begin(), set.end());
            draw_text(f, folder, deflate_rect({80, t, 480, t + 40}, 4, 2, 4, 2), text_format::kDefault,
                      selected ? 0x000000 : 0xFFFFFF, f16_.get());
            draw_text(f, names[i], deflate_rect({80, t + 40, 480, t + 80}, 4, 2, 4, 2), text_format::kDefault,
                      selected ? 0x000000 : 0xCCCCCC, f14_.get());
            blit_stretched(f, {0, t + 79, 480, t + 80}, skin("Slt_Separator"));
        }
        const Rect ok{320, 556, 464, 616};
        const Rect cancel{16, 556, 160, 616};
        const Rect record{168, 556, 312, 616};
        blit_stretched_masked(f, ok, skin("Btn_BottomBar_Dn"), skin("Btn_BottomBar_Mask"));
        blit_stretched_masked(f, cancel, skin("Btn_BottomBar_Up"), skin("Btn_BottomBar_Mask"));
        blit_centered_masked(f, record, at("record-up.png"), at("record-mask.png"));
        const uint32_t centred = text_format::kSingleLine | text_format::kCentre | text_format::kVerticalCentre;
        draw_text(f, u"OK", ok, centred, 0x000000, nullptr);
        draw_text(f, u"CANCEL", cancel, centred, 0xFFFFFF, nullptr);
        draw_text(f, u"RECORD", deflate_rect(record, 34, 0, 6, 0), centred, 0xFFFFFF, nullptr);
        return f;
    }

    Bitmap about() const {
        Bitmap f = frame(-1);
        fill_rect(f, {0, 52, 480, 532}, 0x000000);
        fill_rect(f, {0, 532, 480, 640}, 0x000000);
        const uint32_t centred = text_format::kSingleLine | text_format::kCentre | text_format::kVerticalCentre;
        draw_text(f, u"Tiltophon", {0, 75, 480, 115}, centred, 0xFFFFFF, f18b_.get());
        draw_text(f, u"for Pocket PC", {0, 115, 480, 155}, centred, 0xFFFFFF, f14_.get());
        blit_centered(f, {0, 195, 480, 235}, at("about.png"));
        blit_stretched(f, {149, 402, 333, 454}, at("donate-up.png"));
        blit_centered_masked(f, {140, 556, 340, 616}, skin("Btn_BottomBar_Up"), skin("Btn_BottomBar_Mask"));
        draw_text(f, u"BACK", {140, 556, 340, 616}, centred, 0xFFFFFF, nullptr);
        return f;
    }

private:
    const std::map<std::string, const Bitmap*>& pictures_;
    std::unique_ptr<Font> f14_, f14b_, f16_, f16b_, f18b_;
};

}  // namespace

Bitmap contact_sheet(const std::vector<Picture>& pictures) {
    std::map<std::string, const Bitmap*> by_path;
    for (const auto& p : pictures) by_path[p.path] = &p.bitmap;
    const Page page(by_path);

    // Pictures under the mock-ups, packed in rows by their natural size.
    const int32_t width = 6 * 500;
    int32_t x = 10;
    int32_t y = 680;
    int32_t row_height = 0;
    std::vector<std::pair<Point, const Bitmap*>> placed;
    for (const auto& p : pictures) {
        if (p.bitmap.width() >= width) continue;
        if (x + p.bitmap.width() + 10 > width) {
            x = 10;
            y += row_height + 10;
            row_height = 0;
        }
        placed.push_back({{x, y}, &p.bitmap});
        x += p.bitmap.width() + 10;
        row_height = std::max(row_height, p.bitmap.height());
    }
    Bitmap sheet(width, y + row_height + 10, pixel_from_colour(0x504848));
    const Bitmap pages[] = {page.home(), page.sounds(), page.settings(), page.pick(), page.about(),
                            *page.at("splash.png")};
    for (int i = 0; i < 6; ++i) copy_block(sheet, 10 + 500 * i, 10, pages[i].width(), pages[i].height(), pages[i], 0, 0);
    for (const auto& [at, bitmap] : placed) {
        copy_block(sheet, at.x, at.y, bitmap->width(), bitmap->height(), *bitmap, 0, 0);
    }
    return sheet;
}

}  // namespace tiltophon::skingen
