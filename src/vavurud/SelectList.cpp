// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "vavurud/SelectList.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Platform.h"

namespace tiltophon {

namespace {

uint32_t now_ms() {
    Clock* clock = platform().clock;
    return clock ? clock->tick_count_ms() : 0;
}

int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Whole pixels of a glide step, truncated toward zero. A speed that is not a finite
// number moves nothing, and no step is larger than any list could ever be.
int32_t whole_pixels(double distance) {
    constexpr double kLargest = 1e9;
    if (!std::isfinite(distance)) return 0;
    return static_cast<int32_t>(std::clamp(distance, -kLargest, kLargest));
}

}  // namespace

SelectList::SelectList(Window* owner, uint32_t id)
    : Control(owner, id),
      subtext_margins_{scale_x(2), scale_y(1), scale_x(2), scale_y(1)},
      // Without a screen to read the dpi from, rows still need a height to divide by.
      item_height_(std::max(1, scale_y(40))) {}

int32_t SelectList::row_at(int32_t list_y) const {
    int64_t content_y = int64_t{scroll_offset_} + list_y;
    if (content_y < 0) return -1;
    int64_t row = content_y / item_height_;
    return row < item_count() ? static_cast<int32_t>(row) : -1;
}

SelectList::RowRange SelectList::visible_rows() const {
    int32_t offset = std::max(0, std::min(scroll_offset_, content_height_ - 1));
    int32_t first = offset / item_height_;
    // Row i starts at i x item_height - scroll_offset; rows are drawn while that is
    // above the list's bottom edge.
    int64_t reach = int64_t{height()} + scroll_offset_;
    int64_t below = reach <= 0 ? 0 : (reach + item_height_ - 1) / item_height_;
    int32_t end = static_cast<int32_t>(std::clamp<int64_t>(below, first, item_count()));
    if (items_.empty()) first = end = 0;
    return {first, end};
}

std::optional<Rect> SelectList::scroll_indicator() const {
    if (!show_scrollbar_ || !(dragging_ || gliding_)) return std::nullopt;
    // A list without height or without anything to scroll has no indicator, and
    // nothing below divides by zero.
    if (height() <= 0 || content_height_ <= height()) return std::nullopt;
    int32_t inset = scale_y(1);
    int32_t span = height() - 2 * inset;
    if (span <= 0) return std::nullopt;
    float ratio = static_cast<float>(content_height_) / static_cast<float>(height());
    auto thumb = static_cast<int32_t>(static_cast<float>(span) / ratio);
    int32_t track = span - thumb;
    double share = static_cast<double>(scroll_offset_) / (content_height_ - height());
    auto position = static_cast<int32_t>(std::clamp(share * track, 0.0, static_cast<double>(track)));
    int32_t top = inset + position;
    return Rect{width() - scale_x(1) - scale_x(2), top, width() - scale_x(1), top + thumb};
}

void SelectList::draw(DrawContext& context) {
    if (width() <= 0 || height() <= 0) return;
    if (surface_.width() != width() || surface_.height() != height()) {
        surface_ = Bitmap(width(), height());
    }
    fill_rect(surface_, surface_.bounds(), background_colour_);
    RowRange rows = visible_rows();
    int32_t top = rows.first * item_height_ - scroll_offset_;
    for (int32_t i = rows.first; i < rows.end; ++i, top += item_height_) {
        draw_row(i, {0, top, width(), top + item_height_});
    }
    if (auto indicator = scroll_indicator()) fill_rect(surface_, *indicator, scrollbar_colour_);
    copy_block(context, x(), y(), width(), height(), surface_, 0, 0);
}

void SelectList::draw_row(int32_t index, const Rect& row) {
    const ListItem& item = items_[index];
    bool is_selected = index == selected_;
    int32_t h = row.height();
    const Margins& tm = text_margins();
    const Margins& sm = subtext_margins_;
    Rect picture{row.left, row.top, row.left + h, row.bottom};
    Rect upper = deflate_rect({row.left + h, row.top, row.right, row.top + h / 2}, tm.left, tm.top,
                              tm.right, tm.bottom);
    Rect lower = deflate_rect({row.left + h, row.bottom - h / 2, row.right, row.bottom}, sm.left,
                              sm.top, sm.right, sm.bottom);

    if (is_selected) paint_selection(row);
    if (item.image) blit_centered_transparent(surface_, picture, item.image, kKeyColour);
    draw_text(surface_, item.text.view(), upper, text_format(),
              is_selected ? pressed_text_colour() : text_colour(), font());
    draw_text(surface_, item.subtext.view(), lower, subtext_format_,
              is_selected ? subtext_selected_colour_ : subtext_colour_, subtext_font_);

    if (separator_mode_ == kSeparatorLine) {
        draw_line(surface_, row.left, row.bottom - 1, row.right, row.bottom - 1, separator_pen_);
    } else if (separator_mode_ == kSeparatorImage && separator_image_) {
        blit_stretched(surface_, {row.left, row.bottom - 1, row.right, row.bottom}, separator_image_);
    }
}

void SelectList::paint_selection(const Rect& row) {
    switch (selection_mode_) {
        case kSelectionSolid: fill_rect(surface_, row, selection_colour_); break;
        case kSelectionSolidWithoutImage:
            if (!selection_image_) fill_rect(surface_, row, selection_colour_);
            break;
        case kSelectionPattern:
            if (selection_image_) {
                fill_pattern(surface_, row, selection_image_, rop::kPatternCopy);
            } else {
                fill_rect(surface_, row, selection_colour_);
            }
            break;
        default: break;
    }
}

int SelectList::pen_down(Window* window, uint32_t, int32_t x, int32_t y) {
    pressed_ = hit_test(x, y);
    if (!pressed_) return 0;
    Point point = to_list(x, y);
    // A touch during a glide only stops it (through the owner); it selects nothing.
    if (!gliding_) {
        select(row_at(point.y));
        invalidate();
    }
    down_point_ = last_point_ = point;
    down_time_ = now_ms();
    notify(window, NotifyDown);
    return 1;
}

int SelectList::pen_move(Window* window, uint32_t, int32_t x, int32_t y) {
    if (!pressed_) return 0;
    Point point = to_list(x, y);
    if (!dragging_ && std::abs(int64_t{point.y} - down_point_.y) <= scale_y(kTapThreshold)) {
        notify(window, NotifyDrag);
        return 1;
    }
    // Only vertical movement scrolls.
    dragging_ = true;
    gliding_ = false;
    selected_ = -1;
    scroll_offset_ = saturate(int64_t{scroll_offset_} + last_point_.y - point.y);
    last_point_ = point;
    invalidate();
    notify(window, NotifyDrag);
    return 1;
}

int SelectList::pen_up(Window* window, uint32_t, int32_t x, int32_t y) {
    uint32_t now = now_ms();
    last_tick_ = now;
    uint32_t elapsed = now - down_time_;
    // A gesture released in the millisecond it began has no speed to measure.
    if (elapsed == 0 || elapsed > kGlideMaxGestureMs) {
        velocity_ = 0.0;
    } else {
        velocity_ = static_cast<double>(int64_t{last_point_.y} - down_point_.y) / elapsed;
    }
    bring_into_range();
    if (!pressed_) {
        invalidate();
        return 0;
    }
    notify(window, NotifyUp);
    Point point = to_list(x, y);
    int32_t threshold = scale_y(kTapThreshold);
    if (std::abs(int64_t{point.x} - down_point_.x) < threshold &&
        std::abs(int64_t{point.y} - down_point_.y) < threshold) {
        notify(window, NotifyClick);
    }
    // The pressed flag stays until the next pen-down.
    return 1;
}

void SelectList::bring_into_range() {
    int32_t last = content_height_ - height();
    if (content_height_ < height() || scroll_offset_ <= 0) {
        scroll_offset_ = 0;
    } else if (scroll_offset_ >= last) {
        scroll_offset_ = last;
    }
}

void SelectList::start_glide(Window* window, uint32_t timer_id, uint32_t period_ms,
                             TimerRoutine routine) {
    dragging_ = false;
    gliding_ = true;
    if (window) window->set_timer(timer_id, period_ms, routine);
}

void SelectList::stop_glide(Window* window, uint32_t timer_id) {
    dragging_ = false;
    gliding_ = false;
    if (window) window->kill_timer(timer_id);
}

void SelectList::glide_step(Window* window, uint32_t timer_id) {
    uint32_t now = now_ms();
    auto dt = static_cast<double>(static_cast<uint32_t>(now - last_tick_));
    double decrement = velocity_ * dt * kGlideDecayPerMs;
    if (!std::isfinite(decrement) || std::fabs(decrement) > std::fabs(velocity_)) {
        velocity_ = 0.0;
    } else {
        velocity_ -= decrement;
    }
    int32_t step = whole_pixels(velocity_ * dt);
    scroll_offset_ = saturate(int64_t{scroll_offset_} - step);
    if (step != 0) {
        if (content_height_ > height() && scroll_offset_ > 0 &&
            scroll_offset_ < content_height_ - height()) {
            last_tick_ = now;
            invalidate();
            return;
        }
        // Reaching an end, or landing exactly on it, ends the glide there.
        bring_into_range();
    }
    stop_glide(window, timer_id);
    last_tick_ = now;
    invalidate();
}

SelectList& SelectList::add_item(const ListItem& item) {
    items_.push_back(item);
    selected_ = -1;
    content_height_ = saturate(int64_t{item_height_} * item_count());
    return *this;
}

SelectList& SelectList::insert_item(int32_t index, const ListItem& item) {
    index = std::clamp(index, 0, item_count());
    items_.insert(items_.begin() + index, item);
    if (selected_ >= index) ++selected_;
    content_height_ = saturate(int64_t{item_height_} * item_count());
    return *this;
}

int SelectList::get_item(int32_t index, ListItem& item) const {
    if (index < 0 || index >= item_count()) return 0;
    item = items_[index];
    return 1;
}

int SelectList::step_selection(Window* window, int32_t rows) {
    if (items_.empty()) return 0;
    const int64_t from = selected_ < 0 ? 0 : int64_t{selected_} + rows;
    select(static_cast<int32_t>(std::clamp<int64_t>(from, 0, item_count() - 1)));
    scroll_into_view(selected_);
    invalidate();
    notify(window, NotifyClick);
    return 1;
}

void SelectList::scroll_into_view(int32_t index) {
    const int64_t top = int64_t{index} * item_height_;
    if (top < scroll_offset_) {
        scroll_offset_ = saturate(top);
    } else if (top + item_height_ > int64_t{scroll_offset_} + height()) {
        scroll_offset_ = saturate(top + item_height_ - height());
    }
    bring_into_range();
}

int SelectList::select(int32_t index) {
    if (items_.empty() || index > item_count() - 1) return 0;
    selected_ = index;
    return 1;
}

SelectList& SelectList::set_background_colour(Colour colour) {
    background_colour_ = colour;
    return *this;
}

SelectList& SelectList::set_text_font(FontHandle font) {
    set_font(font);
    return *this;
}

SelectList& SelectList::set_subtext_font(FontHandle font) {
    subtext_font_ = font;
    return *this;
}

SelectList& SelectList::set_subtext_colours(Colour normal, Colour selected) {
    subtext_colour_ = normal;
    subtext_selected_colour_ = selected;
    return *this;
}

SelectList& SelectList::set_subtext_format(uint32_t format) {
    subtext_format_ = format;
    return *this;
}

SelectList& SelectList::set_subtext_margins(int32_t left, int32_t top, int32_t right,
                                            int32_t bottom) {
    subtext_margins_ = {left, top, right, bottom};
    return *this;
}

SelectList& SelectList::set_separator_mode(int32_t mode) {
    separator_mode_ = mode;
    return *this;
}

SelectList& SelectList::set_separator_pen(const Pen* pen) {
    separator_pen_ = pen;
    return *this;
}

SelectList& SelectList::set_separator_image(Image image) {
    separator_image_ = image;
    return *this;
}

SelectList& SelectList::set_selection_mode(int32_t mode) {
    selection_mode_ = mode;
    return *this;
}

SelectList& SelectList::set_selection_colour(Colour colour) {
    selection_colour_ = colour;
    return *this;
}

SelectList& SelectList::set_selection_image(Image image) {
    selection_image_ = image;
    return *this;
}

SelectList& SelectList::set_scrollbar_colour(Colour colour) {
    scrollbar_colour_ = colour;
    return *this;
}

SelectList& SelectList::set_show_scrollbar(bool show) {
    show_scrollbar_ = show;
    return *this;
}

}  // namespace tiltophon
