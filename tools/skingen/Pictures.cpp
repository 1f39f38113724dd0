// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The default look: dark graphite surfaces, one amber accent (the colour of the splash
// screen's progress bar), light grey glyphs. Pressed looks are amber, because pressed
// captions are drawn black.
#include "Pictures.h"

#include <cmath>

#include "Canvas.h"
#include "platform/Platform.h"
#include "vavurud/Draw.h"

namespace tiltophon::skingen {

namespace {

const Rgb kDeep = hex(0x0E1014);
// Behind controls that stand on a page of their own.
const Rgb kPage = hex(0x000000);
const Rgb kPanel = hex(0x171A21);
const Rgb kTileTop = hex(0x272C37);
const Rgb kTileBottom = hex(0x1E222A);
const Rgb kLine = hex(0x2E3340);
const Rgb kEdge = hex(0x3A4050);
const Rgb kGlyph = hex(0xC9CFDA);
const Rgb kDim = hex(0x7D8597);
const Rgb kFaint = hex(0x4A5062);
const Rgb kAmber = hex(0xFFC23D);
const Rgb kAmberLight = hex(0xFFD86E);
const Rgb kAmberDeep = hex(0xE9A100);
const Rgb kInk = hex(0x1A1408);
const uint32_t kMagenta = 0xFFFF00FF;

Picture skin(const std::string& name, Bitmap bitmap) {
    return {"Skin/" + name + ".png", std::move(bitmap)};
}

// A chevron made of two strokes, pointing in the direction (dx, dy).
Shape chevron(float cx, float cy, float size, float dx, float dy, float width) {
    const float px = -dy;
    const float py = dx;
    const float tipx = cx + dx * size / 2;
    const float tipy = cy + dy * size / 2;
    const float bx = cx - dx * size / 2;
    const float by = cy - dy * size / 2;
    return unite(segment(bx + px * size, by + py * size, tipx, tipy, width),
                 segment(bx - px * size, by - py * size, tipx, tipy, width));
}

// The tilt marks: an arrow for the four swings, a dot in a ring for the vertical one.
Shape direction_mark(int slot, float cx, float cy, float size) {
    switch (slot) {
        case 1: return chevron(cx, cy, size, 0, -1, size / 4);
        case 2: return chevron(cx, cy, size, 1, 0, size / 4);
        case 3: return chevron(cx, cy, size, 0, 1, size / 4);
        case 4: return chevron(cx, cy, size, -1, 0, size / 4);
        default: return unite(ring(cx, cy, size * 0.75f, size / 5), circle(cx, cy, size / 4));
    }
}

void tile(Canvas& c, float inset, float radius, bool pressed) {
    const float w = static_cast<float>(c.width());
    const float h = static_cast<float>(c.height());
    const Shape outer = rounded_rect(inset, inset, w - inset, h - inset, radius);
    const Shape inner = rounded_rect(inset + 2, inset + 2, w - inset - 2, h - inset - 2, radius - 2);
    if (pressed) {
        c.glow(outer, kAmber, inset, 0.35f);
        c.fill(outer, kAmberDeep);
        c.fill(inner, vertical(kAmberLight, kAmber, inset, h - inset));
    } else {
        c.fill(outer, kEdge);
        c.fill(inner, vertical(kTileTop, kTileBottom, inset, h - inset));
    }
}

// Waves spreading from a point: thin arcs, faint.
void waves(Canvas& c, float cx, float cy, float first, float step, int count, float opacity) {
    for (int i = 0; i < count; ++i) {
        c.fill(ring(cx, cy, first + step * i, 2.0f), kAmber, opacity * (1.0f - 0.22f * i));
    }
}

Shape house(float cx, float cy, float s) {
    const Shape roof = polygon({{cx, cy - s * 0.5f}, {cx + s * 0.52f, cy - s * 0.02f}, {cx - s * 0.52f, cy - s * 0.02f}});
    const Shape body = rounded_rect(cx - s * 0.36f, cy - s * 0.12f, cx + s * 0.36f, cy + s * 0.46f, s * 0.05f);
    const Shape door = rounded_rect(cx - s * 0.09f, cy + s * 0.14f, cx + s * 0.09f, cy + s * 0.47f, s * 0.03f);
    return subtract(unite(roof, body), door);
}

Shape note(float cx, float cy, float s) {
    const Shape head1 = rotate(rounded_rect(cx - s * 0.46f, cy + s * 0.18f, cx - s * 0.14f, cy + s * 0.42f, s * 0.12f),
                               cx - s * 0.30f, cy + s * 0.30f, -20);
    const Shape head2 = rotate(rounded_rect(cx + s * 0.10f, cy + s * 0.08f, cx + s * 0.42f, cy + s * 0.32f, s * 0.12f),
                               cx + s * 0.26f, cy + s * 0.20f, -20);
    const Shape stem1 = segment(cx - s * 0.17f, cy + s * 0.28f, cx - s * 0.17f, cy - s * 0.36f, s * 0.08f);
    const Shape stem2 = segment(cx + s * 0.39f, cy + s * 0.18f, cx + s * 0.39f, cy - s * 0.46f, s * 0.08f);
    const Shape beam = polygon({{cx - s * 0.21f, cy - s * 0.32f}, {cx + s * 0.43f, cy - s * 0.50f},
                                {cx + s * 0.43f, cy - s * 0.34f}, {cx - s * 0.21f, cy - s * 0.16f}});
    return unite(unite(unite(head1, head2), unite(stem1, stem2)), beam);
}

Shape gear(float cx, float cy, float s) {
    Shape shape = circle(cx, cy, s * 0.34f);
    for (int i = 0; i < 8; ++i) {
        const Shape tooth = rounded_rect(cx - s * 0.09f, cy - s * 0.5f, cx + s * 0.09f, cy - s * 0.25f, s * 0.03f);
        shape = unite(shape, rotate(tooth, cx, cy, 45.0f * i));
    }
    return subtract(shape, circle(cx, cy, s * 0.15f));
}

Shape cross(float cx, float cy, float s, float width) {
    return unite(segment(cx - s, cy - s, cx + s, cy + s, width), segment(cx - s, cy + s, cx + s, cy - s, width));
}

Shape play_triangle(float cx, float cy, float s) {
    return polygon({{cx - s * 0.4f, cy - s * 0.55f}, {cx + s * 0.6f, cy}, {cx - s * 0.4f, cy + s * 0.55f}});
}

// The program's emblem: a handset tilted to the left with sound spreading from it.
void emblem(Canvas& c, float cx, float cy, float s, Rgb body, Rgb screen, Rgb wave) {
    const Shape phone = rotate(rounded_rect(cx - s * 0.22f, cy - s * 0.38f, cx + s * 0.22f, cy + s * 0.38f, s * 0.08f),
                               cx, cy, -18);
    const Shape display = rotate(rounded_rect(cx - s * 0.16f, cy - s * 0.28f, cx + s * 0.16f, cy + s * 0.24f, s * 0.03f),
                                 cx, cy, -18);
    c.fill(phone, body);
    c.fill(display, screen);
    const float wx = cx + s * 0.18f;
    const float wy = cy - s * 0.02f;
    const Shape wedge = polygon({{wx, wy}, {wx + s, wy - s * 0.75f}, {wx + s, wy + s * 0.75f}});
    for (int i = 0; i < 3; ++i) {
        c.fill(intersect(ring(wx, wy, s * (0.22f + 0.16f * i), s * 0.06f), wedge), wave, 1.0f - 0.25f * i);
    }
}

// ---- the top bar ----

void top_bar_background(Canvas& c) {
    const float h = static_cast<float>(c.height());
    c.fill(rounded_rect(-10, -10, c.width() + 10.0f, h + 10, 0), vertical(hex(0x1D212A), hex(0x15181E), 0, h));
    c.fill(rounded_rect(-10, h - 2, c.width() + 10.0f, h + 10, 0), kLine);
}

Bitmap top_bar(const Fonts& fonts) {
    Canvas c(480, 52);
    top_bar_background(c);
    emblem(c, 26, 26, 40, kGlyph, hex(0x2A2F3A), kAmber);
    c.text(fonts.title, u"Tiltophon", 62, 25, hex(0xF2F4F8), false);
    return c.flatten();
}

Bitmap top_button(int glyph, int state) {
    // glyph 0 close, 1 about; state 0 up, 1 pressed, 2 disabled
    Canvas c(52, 52);
    top_bar_background(c);
    Rgb colour = state == 2 ? kFaint : kGlyph;
    if (state == 1) {
        c.fill(circle(26, 25, 21), kAmber);
        colour = kInk;
    }
    if (glyph == 0) {
        c.fill(cross(26, 25, 8, 3.4f), colour);
    } else {
        c.fill(ring(26, 25, 14, 2.6f), colour);
        c.fill(circle(26, 18.5f, 2.2f), colour);
        c.fill(segment(26, 23.5f, 26, 32, 3.4f), colour);
    }
    return c.flatten();
}

// ---- the bottom bar and its tabs ----

void bottom_bar_background(Canvas& c) {
    const float h = static_cast<float>(c.height());
    c.fill(rounded_rect(-10, -10, c.width() + 10.0f, h + 10, 0), vertical(hex(0x1A1D24), hex(0x101216), 0, h));
    c.fill(rounded_rect(-10, -10, c.width() + 10.0f, 2, 0), kLine);
}

Bitmap tab(int which, bool selected, const Fonts& fonts) {
    Canvas c(160, 108);
    bottom_bar_background(c);
    const Rgb colour = selected ? kAmber : kDim;
    if (selected) {
        c.glow(rounded_rect(40, -4, 120, 4, 2), kAmber, 14, 0.25f);
        c.fill(rounded_rect(40, -4, 120, 4, 2), kAmber);
    }
    const float cx = 80;
    const float cy = 42;
    const Shape icon = which == 0 ? house(cx, cy, 40) : which == 1 ? note(cx, cy, 40) : gear(cx, cy, 42);
    c.fill(icon, colour);
    const std::u16string label = which == 0   ? translated(u"Home")
                                 : which == 1 ? translated(u"Sounds")
                                              : translated(u"Settings");
    // A longer word in another language is set smaller to stay inside its tab.
    if (fonts.label) {
        const FittedText fitted = fit_text(label, 150, fonts.label);
        c.text(fitted.font, fitted.text, cx, 84, selected ? kAmberLight : kDim);
    }
    return c.flatten();
}

Bitmap bottom_bar() {
    Canvas c(480, 108);
    bottom_bar_background(c);
    return c.flatten();
}

// Drawn masked and centred: the rounded button shows, the bar around it stays.
Canvas bottom_bar_button(bool pressed) {
    Canvas c(200, 60, {}, 0.0f);
    const Shape outer = rounded_rect(2, 2, 198, 58, 18);
    const Shape inner = rounded_rect(4, 4, 196, 56, 16);
    if (pressed) {
        c.fill(outer, kAmberDeep);
        c.fill(inner, vertical(kAmberLight, kAmber, 4, 56));
    } else {
        c.fill(outer, kEdge);
        c.fill(inner, vertical(hex(0x2C313D), hex(0x22262F), 4, 56));
    }
    return c;
}

// The pick screen's Record button: the bottom-bar button's shape at 144 x 60, with a
// red dot at its left; red all over while a take runs. Drawn masked, like its
// neighbours.
const Rgb kRecordRed = hex(0xE5484D);

Canvas record_button(int look) {
    Canvas c(144, 60, {}, 0.0f);
    const Shape outer = rounded_rect(2, 2, 142, 58, 18);
    const Shape inner = rounded_rect(4, 4, 140, 56, 16);
    const Shape dot = circle(24, 30, 8);
    switch (look) {
        case 0:  // at rest
            c.fill(outer, kEdge);
            c.fill(inner, vertical(hex(0x2C313D), hex(0x22262F), 4, 56));
            c.fill(dot, kRecordRed);
            break;
        case 1:  // pressed
            c.fill(outer, kAmberDeep);
            c.fill(inner, vertical(kAmberLight, kAmber, 4, 56));
            c.fill(dot, hex(0xB3262B));
            break;
        default:  // recording
            c.fill(outer, hex(0x8E1F23));
            c.fill(inner, vertical(hex(0xE5484D), hex(0xC0353A), 4, 56));
            c.fill(ring(24, 30, 9, 2.5f), hex(0xF2F4F8));
            c.fill(circle(24, 30, 4.5f), hex(0xF2F4F8));
            break;
    }
    return c;
}

// ---- the slot grid ----

// Faint arcs centred on the middle of the grid, so the four corners and the cross
// of slots read as one round figure.
Bitmap corner(int row, int column) {
    Canvas c(160, 160, kDeep);
    const float gx = (column == 1 ? 240.0f : -80.0f);
    const float gy = (row == 1 ? 240.0f : -80.0f);
    waves(c, gx, gy, 200, 26, 3, 0.16f);
    return c.flatten();
}

Bitmap slot_button(int slot, bool pressed) {
    Canvas c(160, 160, kDeep);
    tile(c, 6, 24, pressed);
    const Rgb mark = pressed ? kInk : kAmber;
    float mx = 80;
    float my = 80;
    switch (slot) {
        case 1: my = 19; break;
        case 2: mx = 141; break;
        case 3: my = 141; break;
        case 4: mx = 19; break;
        default: my = 19; break;
    }
    c.fill(direction_mark(slot, mx, my, 12), mark, pressed ? 0.9f : 0.85f);
    // Where the sound's picture goes (32 pixels in on every side), a quiet well.
    c.fill(rounded_rect(32, 32, 128, 128, 20), pressed ? hex(0xF2B21F) : hex(0x1B1F26), 0.8f);
    return c.flatten();
}

// 72 x 72, caption drawn by the program in the bottom 28 pixels.
Bitmap toggle(bool on) {
    Canvas c(72, 72, kDeep, 0.0f);
    c.fill(rounded_rect(0, 0, 72, 72, 18), on ? hex(0x3D3320) : kEdge);
    c.fill(rounded_rect(2, 2, 70, 70, 16), vertical(on ? hex(0x33291A) : kTileTop, on ? hex(0x241D12) : kTileBottom, 2, 70));
    if (on) {
        c.glow(circle(36, 22, 8), kAmber, 12, 0.55f);
        c.fill(circle(36, 22, 8), kAmberLight);
    } else {
        c.fill(ring(36, 22, 7, 2.5f), kDim);
    }
    return c.flatten(kDeep);
}

// ---- the Sounds page ----

Bitmap sounds_strip() {
    Canvas c(70, 480, kPanel);
    c.fill(rounded_rect(68, -10, 80, 490, 0), kLine);
    for (int slot = 1; slot <= 5; ++slot) {
        const float cy = 48 + 96.0f * (slot - 1);
        c.fill(circle(35, cy, 20), hex(0x20242D));
        c.fill(direction_mark(slot, 35, cy, 12), kAmber);
    }
    return c.flatten();
}

Bitmap sound_row(bool pressed) {
    Canvas c(325, 96, kPanel);
    const Shape shape = rounded_rect(6, 6, 335, 90, 16);
    if (pressed) {
        c.fill(shape, vertical(kAmberLight, kAmber, 6, 90));
    } else {
        c.fill(shape, vertical(hex(0x222630), hex(0x1C2028), 6, 90));
        // A frame for the sound's small picture.
        c.fill(rounded_rect(10, 22, 52, 74, 10), hex(0x171A21));
    }
    c.fill(rounded_rect(-10, 95, 340, 100, 0), kLine);
    return c.flatten();
}

Bitmap play_button(bool pressed) {
    Canvas c(85, 96, kPanel);
    c.fill(rounded_rect(-20, 6, 79, 90, 16), pressed ? vertical(kAmberLight, kAmber, 6, 90) : vertical(hex(0x222630), hex(0x1C2028), 6, 90));
    c.fill(rounded_rect(-20, 95, 100, 100, 0), kLine);
    if (pressed) {
        c.fill(circle(40, 48, 24), kInk);
        c.fill(play_triangle(42, 48, 20), kAmber);
    } else {
        c.fill(ring(40, 48, 23, 3), kAmber);
        c.fill(play_triangle(42, 48, 20), kAmber);
    }
    return c.flatten();
}

// ---- the Settings page ----

Bitmap selector(int pressed_side) {
    // 0 none, 1 left, 2 right
    Canvas c(200, 60, kPage);
    const Shape body = rounded_rect(0, 0, 200, 60, 16);
    c.fill(body, kEdge);
    c.fill(rounded_rect(2, 2, 198, 58, 14), vertical(kTileTop, kTileBottom, 2, 58));
    const Shape left = intersect(rounded_rect(2, 2, 198, 58, 14), rounded_rect(-10, -10, 56, 70, 0));
    const Shape right = intersect(rounded_rect(2, 2, 198, 58, 14), rounded_rect(144, -10, 210, 70, 0));
    if (pressed_side == 1) c.fill(left, vertical(kAmberLight, kAmber, 2, 58));
    if (pressed_side == 2) c.fill(right, vertical(kAmberLight, kAmber, 2, 58));
    c.fill(rounded_rect(55, 12, 57, 48, 1), kLine);
    c.fill(rounded_rect(143, 12, 145, 48, 1), kLine);
    c.fill(chevron(28, 30, 11, -1, 0, 3.2f), pressed_side == 1 ? kInk : kAmber);
    c.fill(chevron(172, 30, 11, 1, 0, 3.2f), pressed_side == 2 ? kInk : kAmber);
    return c.flatten();
}

Bitmap switch_picture(bool on) {
    Canvas c(200, 60, kPage);
    const Shape track = rounded_rect(52, 8, 148, 52, 22);
    if (on) {
        c.glow(track, kAmber, 8, 0.25f);
        c.fill(track, vertical(kAmberLight, kAmber, 8, 52));
        c.fill(circle(126, 30, 17), hex(0xFFF8E8));
    } else {
        c.fill(track, kEdge);
        c.fill(rounded_rect(54, 10, 146, 50, 20), hex(0x20242D));
        c.fill(circle(74, 30, 16), kDim);
    }
    return c.flatten();
}

Bitmap general_button(bool pressed) {
    Canvas c(200, 60, kPage);
    tile(c, 1, 16, pressed);
    return c.flatten();
}

// ---- the sound list ----

Bitmap separator() {
    Canvas c(480, 1, kDeep);
    c.fill(rounded_rect(-1, -1, 481, 2, 0), [](float x, float) {
        const float fade = std::min({x / 60.0f, (480 - x) / 60.0f, 1.0f});
        return mix(kDeep, kLine, fade);
    });
    return c.flatten();
}

Bitmap item_selected() {
    Canvas c(480, 80);
    c.fill(rounded_rect(-1, -1, 481, 81, 0), vertical(kAmberLight, kAmber, 0, 80));
    c.fill(rounded_rect(-1, 78, 481, 81, 0), kAmberDeep);
    return c.flatten();
}

}  // namespace

std::vector<Picture> skin_pictures(const Fonts& fonts) {
    std::vector<Picture> out;
    out.push_back(skin("Pic_TopBar_App", top_bar(fonts)));
    out.push_back(skin("Btn_TopBar_Close_Up", top_button(0, 0)));
    out.push_back(skin("Btn_TopBar_Close_Dn", top_button(0, 1)));
    out.push_back(skin("Btn_TopBar_About_Up", top_button(1, 0)));
    out.push_back(skin("Btn_TopBar_About_Dn", top_button(1, 1)));
    out.push_back(skin("Btn_TopBar_About_Ds", top_button(1, 2)));
    const char* tabs[] = {"Home", "Sounds", "Settings"};
    for (int i = 0; i < 3; ++i) {
        out.push_back(skin(std::string("Chk_BottomBar_") + tabs[i] + "_Up", tab(i, false, fonts)));
        out.push_back(skin(std::string("Chk_BottomBar_") + tabs[i] + "_Dn", tab(i, true, fonts)));
    }
    out.push_back(skin("Pic_SlotGrid_L1C1", corner(1, 1)));
    out.push_back(skin("Pic_SlotGrid_L1C3", corner(1, 3)));
    out.push_back(skin("Pic_SlotGrid_L3C1", corner(3, 1)));
    out.push_back(skin("Pic_SlotGrid_L3C3", corner(3, 3)));
    const char* cells[] = {"L1C2", "L2C3", "L3C2", "L2C1", "L2C2"};
    for (int slot = 1; slot <= 5; ++slot) {
        out.push_back(skin(std::string("Btn_SlotGrid_") + cells[slot - 1] + "_Up", slot_button(slot, false)));
        out.push_back(skin(std::string("Btn_SlotGrid_") + cells[slot - 1] + "_Dn", slot_button(slot, true)));
    }
    out.push_back(skin("Pic_OpenSoundsType", sounds_strip()));
    out.push_back(skin("BtnEx_OpenSound_Up", sound_row(false)));
    out.push_back(skin("BtnEx_OpenSound_Dn", sound_row(true)));
    out.push_back(skin("Btn_PlaySound_Up", play_button(false)));
    out.push_back(skin("Btn_PlaySound_Dn", play_button(true)));
    out.push_back(skin("Cmb_General_Up", selector(0)));
    out.push_back(skin("Cmb_General_Dn_L", selector(1)));
    out.push_back(skin("Cmb_General_Dn_R", selector(2)));
    out.push_back(skin("Chk_General_Up", switch_picture(false)));
    out.push_back(skin("Chk_General_Dn", switch_picture(true)));
    out.push_back(skin("Chk_General_2_Up", toggle(false)));
    out.push_back(skin("Chk_General_2_Dn", toggle(true)));
    out.push_back(skin("Btn_General_Up", general_button(false)));
    out.push_back(skin("Btn_General_Dn", general_button(true)));
    const Canvas up = bottom_bar_button(false);
    const Canvas down = bottom_bar_button(true);
    out.push_back(skin("Btn_BottomBar_Up", up.keyed(0xFF000000u)));
    out.push_back(skin("Btn_BottomBar_Dn", down.keyed(0xFF000000u)));
    out.push_back(skin("Btn_BottomBar_Mask", up.mask()));
    out.push_back(skin("Pic_BottomBar", bottom_bar()));
    out.push_back(skin("Slt_Separator", separator()));
    out.push_back(skin("Slt_ItemSelected", item_selected()));
    return out;
}

bool has_words(const Picture& picture) {
    return picture.path.starts_with("Skin/Chk_BottomBar_") || picture.path == "splash.png" ||
           picture.path == "about.png" || picture.path.starts_with("donate-");
}

std::vector<Picture> resource_pictures(const Fonts& fonts) {
    std::vector<Picture> out;

    auto icon = [](int32_t size) {
        const float s = static_cast<float>(size);
        Canvas c(size, size, {}, 0.0f);
        c.fill(rounded_rect(0, 0, s, s, s * 0.22f), vertical(hex(0x2A2F3A), hex(0x14171C), 0, s));
        emblem(c, s * 0.40f, s * 0.52f, s * 0.62f, hex(0xE8ECF2), hex(0x1E222A), kAmber);
        return c;
    };
    out.push_back({"tiltophon.png", icon(128).flatten(hex(0x14171C))});
    out.push_back({"", icon(256).with_alpha(), true, true});

    {
        Canvas c(480, 480, kDeep);
        c.fill(rounded_rect(-1, -1, 481, 481, 0), [](float x, float y) {
            const float d = std::hypot(x - 240, y - 190) / 340;
            return mix(hex(0x1E222B), hex(0x000000), std::min(1.0f, d));
        });
        emblem(c, 215, 190, 210, hex(0xE8ECF2), hex(0x1E222A), kAmber);
        c.text(fonts.wordmark, u"Tiltophon", 240, 360, hex(0xF2F4F8));
        if (fonts.small) {
            const FittedText tagline = fit_text(translated(u"tilt \u00B7 swing \u00B7 play"), 440, fonts.small);
            c.text(tagline.font, tagline.text, 240, 432, kDim);
        }
        out.push_back({"splash.png", c.flatten()});
    }
    {
        Canvas c(380, 40, kPage);
        const FittedText line = fonts.small ? fit_text(translated(u"motion-triggered sound board"), 340, fonts.small)
                                            : FittedText{};
        const float width = line.font ? static_cast<float>(line.font->text_width(line.text)) : 0;
        const float left = (380 - width - 40) / 2;
        emblem(c, left + 14, 20, 30, kGlyph, hex(0x1E222A), kAmber);
        c.text(line.font, line.text, left + 40, 20, kDim, false);
        out.push_back({"about.png", c.flatten()});
    }
    for (bool pressed : {false, true}) {
        Canvas c(184, 52, hex(0x000000));
        const Shape pill = rounded_rect(2, 2, 182, 50, 24);
        if (pressed) {
            c.fill(pill, vertical(kAmberLight, kAmber, 2, 50));
        } else {
            c.fill(pill, kAmber);
            c.fill(rounded_rect(5, 5, 179, 47, 21), hex(0x15181E));
        }
        const Rgb ink = pressed ? kInk : kAmber;
        // A heart: two circles and a point.
        const Shape heart = unite(unite(circle(36, 22, 7), circle(48, 22, 7)),
                                  polygon({{29.5f, 25}, {54.5f, 25}, {42, 37}}));
        c.fill(heart, ink);
        if (fonts.label) {
            const FittedText word = fit_text(translated(u"Donate"), 112, fonts.label);
            c.text(word.font, word.text, 112, 26, pressed ? kInk : hex(0xF2F4F8));
        }
        out.push_back({pressed ? "donate-down.png" : "donate-up.png", c.flatten()});
    }
    const Canvas record_rest = record_button(0);
    out.push_back({"record-up.png", record_rest.keyed(0xFF000000u)});
    out.push_back({"record-down.png", record_button(1).keyed(0xFF000000u)});
    out.push_back({"record-on.png", record_button(2).keyed(0xFF000000u)});
    out.push_back({"record-mask.png", record_rest.mask()});
    return out;
}

namespace {

Shape drum(float cx, float cy, float s) {
    const float top = cy - s * 0.08f;
    auto ellipse = [=](float ry) {
        return [=](float x, float y) {
            const float dx = (x - cx) / (s * 0.38f);
            const float dy = (y - top) / ry;
            return (std::hypot(dx, dy) - 1) * ry;
        };
    };
    const Shape shell = unite(rounded_rect(cx - s * 0.38f, top, cx + s * 0.38f, cy + s * 0.34f, s * 0.06f),
                              ellipse(s * 0.12f));
    // The head set off from the shell by a thin gap, and the zig-zag of the lacing.
    Shape cuts = subtract(ellipse(s * 0.15f), ellipse(s * 0.10f));
    cuts = intersect(cuts, rounded_rect(cx - s, top, cx + s, cy + s, 0));
    for (int i = 0; i < 4; ++i) {
        const float x0 = cx - s * 0.30f + i * s * 0.15f;
        cuts = unite(cuts, segment(x0, top + s * 0.18f, x0 + s * 0.075f, cy + s * 0.28f, s * 0.035f));
        cuts = unite(cuts, segment(x0 + s * 0.075f, cy + s * 0.28f, x0 + s * 0.15f, top + s * 0.18f, s * 0.035f));
    }
    // Two sticks crossed over the head, with round tips.
    const Shape sticks = unite(
        unite(segment(cx - s * 0.36f, cy - s * 0.46f, cx + s * 0.16f, cy - s * 0.16f, s * 0.055f),
              segment(cx + s * 0.36f, cy - s * 0.46f, cx - s * 0.16f, cy - s * 0.16f, s * 0.055f)),
        unite(circle(cx - s * 0.36f, cy - s * 0.46f, s * 0.06f), circle(cx + s * 0.36f, cy - s * 0.46f, s * 0.06f)));
    return unite(subtract(shell, cuts), subtract(sticks, ellipse(s * 0.15f)));
}

Shape bell(float cx, float cy, float s) {
    const Shape dome = unite(circle(cx, cy - s * 0.12f, s * 0.22f),
                             polygon({{cx - s * 0.22f, cy - s * 0.12f}, {cx + s * 0.22f, cy - s * 0.12f},
                                      {cx + s * 0.34f, cy + s * 0.22f}, {cx - s * 0.34f, cy + s * 0.22f}}));
    const Shape rim = rounded_rect(cx - s * 0.40f, cy + s * 0.18f, cx + s * 0.40f, cy + s * 0.27f, s * 0.04f);
    const Shape clapper = circle(cx, cy + s * 0.34f, s * 0.08f);
    const Shape loop = ring(cx, cy - s * 0.38f, s * 0.07f, s * 0.04f);
    return unite(unite(dome, rim), unite(clapper, loop));
}

Shape voice(float cx, float cy, float s) {
    const Shape capsule = rounded_rect(cx - s * 0.13f, cy - s * 0.44f, cx + s * 0.13f, cy + s * 0.06f, s * 0.13f);
    const Shape cradle = intersect(ring(cx, cy - s * 0.08f, s * 0.24f, s * 0.06f),
                                   rounded_rect(cx - s, cy - s * 0.08f, cx + s, cy + s, 0));
    const Shape stand = unite(segment(cx, cy + s * 0.16f, cx, cy + s * 0.34f, s * 0.06f),
                              segment(cx - s * 0.16f, cy + s * 0.36f, cx + s * 0.16f, cy + s * 0.36f, s * 0.06f));
    return unite(unite(capsule, cradle), stand);
}

Shape synth(float cx, float cy, float s) {
    // A keyboard: white keys as gaps in a block, three black keys on top.
    Shape shape = subtract(rounded_rect(cx - s * 0.42f, cy - s * 0.30f, cx + s * 0.42f, cy + s * 0.30f, s * 0.06f),
                           rounded_rect(cx - s * 0.37f, cy - s * 0.25f, cx + s * 0.37f, cy + s * 0.25f, s * 0.03f));
    for (int i = 1; i < 4; ++i) {
        const float x = cx - s * 0.37f + i * s * 0.185f;
        shape = unite(shape, segment(x, cy - s * 0.25f, x, cy + s * 0.25f, s * 0.035f));
    }
    for (int i : {1, 2, 3}) {
        const float x = cx - s * 0.37f + i * s * 0.185f;
        shape = unite(shape, rounded_rect(x - s * 0.055f, cy - s * 0.25f, x + s * 0.055f, cy + s * 0.04f, s * 0.015f));
    }
    return shape;
}

}  // namespace

std::vector<Picture> set_pictures() {
    struct Set {
        const char* name;
        uint32_t colour;
        Shape (*glyph)(float, float, float);
    };
    const Set sets[] = {{"Drums", 0xE4572E, drum}, {"Bells", 0x1FB5A8, bell},
                        {"Voices", 0x8E6CEF, voice}, {"Synth", 0x3A86FF, synth}};
    std::vector<Picture> out;
    for (const Set& set : sets) {
        for (int size : {96, 48}) {
            const float s = static_cast<float>(size);
            Canvas c(size, size, {}, 0.0f);
            const Rgb colour = hex(set.colour);
            c.fill(rounded_rect(0, 0, s, s, s * 0.24f), vertical(mix(colour, hex(0xFFFFFF), 0.18f), mix(colour, hex(0x000000), 0.18f), 0, s));
            c.fill(set.glyph(s / 2, s / 2 + s * 0.02f, s * 0.78f), hex(0xFFFFFF));
            const std::string folder = std::string("Sounds/") + set.name + "/" + set.name;
            out.push_back({folder + (size == 96 ? "B.png" : "S.png"), c.keyed(kMagenta)});
        }
    }
    return out;
}

}  // namespace tiltophon::skingen
