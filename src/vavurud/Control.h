// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "vavurud/Draw.h"

namespace tiltophon {

class Panel;

// What a control reports to its window, in the high word of the command message.
enum NotifyCode : uint16_t {
    NotifyDown = 1,
    NotifyDrag = 2,
    NotifyUp = 3,
    NotifyClick = 4,
    NotifyToggle = 5,
    NotifyChange = 6,
};

// Image slots of the controls' `set_image`.
namespace image_slot {
constexpr int32_t kUp = 1;
constexpr int32_t kUpMask = 2;
constexpr int32_t kDown = 3;
constexpr int32_t kDownMask = 4;
constexpr int32_t kDownLeft = 5;
constexpr int32_t kDownLeftMask = 6;
constexpr int32_t kDownRight = 7;
constexpr int32_t kDownRightMask = 8;
constexpr int32_t kDisabled = 9;
constexpr int32_t kDisabledMask = 10;
constexpr int32_t kIcon = 13;
}  // namespace image_slot

struct Margins {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The command message's first parameter: the code in the high word, the id in the low.
constexpr WParam command_param(NotifyCode code, uint32_t id) {
    return (static_cast<WParam>(code) << 16) | (id & 0xFFFFu);
}

// Every element on screen: a rectangle in window coordinates with an identifier, a
// caption and a few flags, drawn by its own `draw` and driven by three pen operations.
// A control that reacts to the pen tells its window by sending the command message.
class Control {
public:
    Control(Window* owner, uint32_t id);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual void draw(DrawContext& context);
    virtual int pen_down(Window* window, uint32_t flags, int32_t x, int32_t y);
    virtual int pen_up(Window* window, uint32_t flags, int32_t x, int32_t y);
    virtual int pen_move(Window* window, uint32_t flags, int32_t x, int32_t y);

    // Dispatchers used by Panels and the window instead of the virtual operations.
    void paint(DrawContext& context);
    int on_pen_down(Window* window, uint32_t flags, int32_t x, int32_t y);
    int on_pen_up(Window* window, uint32_t flags, int32_t x, int32_t y);
    int on_pen_move(Window* window, uint32_t flags, int32_t x, int32_t y);
    bool hit_test(int32_t x, int32_t y) const;
    // Whether the keyboard focus may rest on the control: those that act on a touch.
    virtual bool takes_focus() const { return false; }
    // Asks the owner window to repaint this control's rectangle.
    void invalidate();

    Control& set_rect(int32_t x, int32_t y, int32_t width, int32_t height);
    Control& set_visible(bool visible);
    // The program builds every control enabled and never changes it; kept for
    // toolkit users that need a control shown but inert.
    Control& set_enabled(bool enabled);
    Control& set_vibrate_on_touch(bool on);
    Control& set_pressed(bool pressed);
    Control& set_font(FontHandle font);
    Control& set_text_colours(Colour normal, Colour pressed);
    Control& set_text_format(uint32_t format);
    Control& set_text_margins(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // A caption wider than its box is drawn in a smaller size of its font, and cut
    // only past the smallest (`fit_text`); without this it is cut at once.
    Control& set_fit_text(bool fit);
    // An empty text leaves the caption as it was.
    Control& set_text(std::u16string_view text);
    // Copies the caption into a caller's 260-unit buffer; nothing for a null buffer.
    void get_text(char16_t* buffer) const;

    int32_t x() const { return x_; }
    int32_t y() const { return y_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    Rect get_rect() const { return {x_, y_, x_ + width_, y_ + height_}; }
    bool is_visible() const { return visible_; }
    bool is_enabled() const { return enabled_; }
    bool is_pressed() const { return pressed_; }
    bool vibrate_on_touch() const { return vibrate_on_touch_; }
    bool accepts_pen() const { return accepts_pen_; }
    uint32_t id() const { return id_; }
    std::u16string_view text() const { return text_.view(); }
    FontHandle font() const { return font_; }
    Colour text_colour() const { return text_colour_; }
    Colour pressed_text_colour() const { return pressed_text_colour_; }
    uint32_t text_format() const { return text_format_; }
    const Margins& text_margins() const { return text_margins_; }
    bool fits_text() const { return fit_text_; }
    // The rectangle the caption is laid out in: the control inside its text margins.
    Rect caption_rect() const;
    Panel* parent() const { return parent_; }
    Window* owner() const { return owner_; }

protected:
    // Sends the command message with this control's id to `window` and waits for it.
    void notify(Window* window, NotifyCode code);
    // The caption in its colour, format and font, inside the margins.
    void draw_caption(DrawContext& context, Colour colour) const;
    // Copies a text and its terminator into a caller's 260-unit buffer; nothing for null.
    static void copy_text_out(std::u16string_view text, char16_t* buffer);

    bool pressed_ = false;
    bool accepts_pen_ = true;

private:
    friend class Panel;

    Window* owner_;
    uint32_t id_;
    PathText text_;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t width_;
    int32_t height_;
    bool visible_ = true;
    bool enabled_ = true;
    bool vibrate_on_touch_ = false;
    bool fit_text_ = false;
    FontHandle font_ = nullptr;
    Colour text_colour_ = 0xFFFFFF;
    Colour pressed_text_colour_ = 0x000000;
    uint32_t text_format_ = text_format::kDefault;
    Margins text_margins_;
    Panel* parent_ = nullptr;
};

}  // namespace tiltophon
