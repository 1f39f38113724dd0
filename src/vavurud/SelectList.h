// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "vavurud/Control.h"

namespace tiltophon {

// One row of a SelectList, copied into the list by value.
struct ListItem {
    PathText text;     // upper line
    PathText subtext;  // lower line
    Image image = nullptr;
    // The caller's data, handed back unchanged (the sound list keeps the address of
    // the sound entry here).
    intptr_t value = 0;
};

// A list of equal rows, each with a picture at the left and two lines of text, that
// scrolls under the finger and keeps gliding after a quick flick. A tap selects the
// row under it and reports a click.
//
// The glide runs on a window timer that the owner drives: on NotifyDown it calls
// `stop_glide`, on NotifyUp `start_glide`, whose routine calls `glide_step`. The
// upper line uses the control's own font, text colours (normal and selected),
// format and margins; the lower line has its own.
class SelectList : public Control {
public:
    struct RowRange {
        int32_t first = 0;
        int32_t end = 0;  // one past the last row drawn
    };

    // A drag shorter than this (both ways, at 96 dpi) is still a tap.
    static constexpr int32_t kTapThreshold = 10;
    // A gesture that lasted longer than this does not glide; one of exactly this
    // length still does.
    static constexpr uint32_t kGlideMaxGestureMs = 500;
    // Share of the speed lost per millisecond of glide.
    static constexpr double kGlideDecayPerMs = 0.0008;

    enum SeparatorMode : int32_t { kSeparatorLine = 0, kSeparatorImage = 1 };
    enum SelectionMode : int32_t {
        kSelectionSolid = 0,
        kSelectionSolidWithoutImage = 2,
        kSelectionPattern = 3,
    };

    SelectList(Window* owner, uint32_t id);

    void draw(DrawContext& context) override;
    bool takes_focus() const override { return true; }
    int pen_down(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_up(Window* window, uint32_t flags, int32_t x, int32_t y) override;
    int pen_move(Window* window, uint32_t flags, int32_t x, int32_t y) override;

    // Appends a copy of the item and clears the selection.
    SelectList& add_item(const ListItem& item);
    // Puts a copy of the item before row `index` (at the end for an index past it);
    // the selected row stays selected, and the scroll position stays where it is.
    SelectList& insert_item(int32_t index, const ListItem& item);
    // 1 with the row copied into `item`, 0 when there is no such row.
    int get_item(int32_t index, ListItem& item) const;
    // 1 when the index was taken (a negative one means no selection), 0 when the
    // list is empty or the index lies past the last row.
    int select(int32_t index);
    int32_t get_selected() const { return selected_; }
    // Moves the selection `rows` rows on (back for a negative count), stopping at the
    // first and last row; from no selection it starts at the first row. The row is
    // scrolled into view and reported with a click, as a tap on it would be. 0 for an
    // empty list.
    int step_selection(Window* window, int32_t rows);
    // Scrolls just enough that the whole of row `index` shows.
    void scroll_into_view(int32_t index);

    void start_glide(Window* window, uint32_t timer_id, uint32_t period_ms, TimerRoutine routine);
    void stop_glide(Window* window, uint32_t timer_id);
    // One tick of the glide: slows down, moves, and stops at either end or once a
    // step moves less than a pixel.
    void glide_step(Window* window, uint32_t timer_id);

    SelectList& set_background_colour(Colour colour);
    SelectList& set_text_font(FontHandle font);
    SelectList& set_subtext_font(FontHandle font);
    SelectList& set_subtext_colours(Colour normal, Colour selected);
    SelectList& set_subtext_format(uint32_t format);
    SelectList& set_subtext_margins(int32_t left, int32_t top, int32_t right, int32_t bottom);
    SelectList& set_separator_mode(int32_t mode);
    SelectList& set_separator_pen(const Pen* pen);
    SelectList& set_separator_image(Image image);
    SelectList& set_selection_mode(int32_t mode);
    SelectList& set_selection_colour(Colour colour);
    SelectList& set_selection_image(Image image);
    SelectList& set_scrollbar_colour(Colour colour);
    SelectList& set_show_scrollbar(bool show);

    int32_t item_count() const { return static_cast<int32_t>(items_.size()); }
    int32_t item_height() const { return item_height_; }
    int32_t content_height() const { return content_height_; }
    int32_t scroll_offset() const { return scroll_offset_; }
    double velocity() const { return velocity_; }
    bool is_dragging() const { return dragging_; }
    bool is_gliding() const { return gliding_; }
    Colour background_colour() const { return background_colour_; }

    // The row under a list-relative y, or -1.
    int32_t row_at(int32_t list_y) const;
    // The rows that have pixels inside the list at the current offset; drawing
    // touches these and no others, however long the list is.
    RowRange visible_rows() const;
    // The scroll indicator in list coordinates, when it shows: while dragging or
    // gliding, when the content is taller than a list of some height.
    std::optional<Rect> scroll_indicator() const;

private:
    void draw_row(int32_t index, const Rect& row);
    void paint_selection(const Rect& row);
    // Back inside 0 ..= content_height - height.
    void bring_into_range();
    Point to_list(int32_t x, int32_t y) const { return {x - this->x(), y - this->y()}; }

    FontHandle subtext_font_ = nullptr;
    Colour subtext_colour_ = 0xCCCCCC;
    Colour subtext_selected_colour_ = 0x000000;
    uint32_t subtext_format_ = text_format::kDefault;
    Margins subtext_margins_;
    const Pen* separator_pen_ = nullptr;
    int32_t separator_mode_ = kSeparatorLine;
    Image separator_image_ = nullptr;
    int32_t selection_mode_ = kSelectionSolid;
    Colour selection_colour_ = 0xFFFFFF;
    Image selection_image_ = nullptr;
    int32_t item_height_;
    std::vector<ListItem> items_;
    int32_t content_height_ = 0;
    int32_t scroll_offset_ = 0;
    Point down_point_{-1, -1};
    Point last_point_{-1, -1};
    // Tick counts; differences are taken modulo 2^32 so a counter wrap is harmless.
    uint32_t down_time_ = 0;
    uint32_t last_tick_ = 0;
    // Pixels per millisecond; positive moves the content down.
    double velocity_ = 0.0;
    bool dragging_ = false;
    bool gliding_ = false;
    Colour background_colour_ = 0x000000;
    int32_t selected_ = -1;
    Colour scrollbar_colour_ = 0x808080;
    bool show_scrollbar_ = true;
    // The list is drawn here first and copied to the frame in one block, which clips
    // the rows to the list; kept between paints.
    Bitmap surface_;
};

}  // namespace tiltophon
