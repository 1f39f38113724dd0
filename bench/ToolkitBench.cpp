// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "program/HeadlessPlatform.h"
#include "vavurud/Button.h"
#include "vavurud/CheckButton.h"
#include "vavurud/Label.h"
#include "vavurud/Panel.h"
#include "vavurud/Picture.h"
#include "vavurud/SelectList.h"
#include "vavurud/ValueSelector.h"

namespace tiltophon {
namespace {

LResult quiet_procedure(Window* window, uint32_t message, WParam first, LParam second) {
    return message == msg::kCommand ? 0 : window->default_proc(message, first, second);
}

// The pick screen's list on the target screen (480 x 480 at (0, 52), 192 dpi), with
// `count` rows that each have a picture and two lines, scrolled to `percent` of its
// range by a slow drag, and drawn once per iteration.
void BM_SelectListDraw(benchmark::State& state) {
    HeadlessPlatform headless;
    Window* window = headless.windows.create_window(u"Bench", u"Bench", quiet_procedure);
    Bitmap picture(48, 48, 0xFF336699u);
    Bitmap separator(480, 2, 0xFF808080u);
    Bitmap highlight(8, 80, 0xFFCCCCCCu);
    Bitmap frame(480, 640);

    auto list = std::make_unique<SelectList>(window, 64);
    list->set_rect(0, 52, 480, 480);
    list->set_separator_mode(SelectList::kSeparatorImage).set_separator_image(&separator);
    list->set_selection_mode(SelectList::kSelectionPattern).set_selection_image(&highlight);
    ListItem item;
    item.text = u"Drum Kit";
    item.subtext = u"Snare roll.wav";
    item.image = &picture;
    auto count = static_cast<int32_t>(state.range(0));
    for (int32_t i = 0; i < count; ++i) list->add_item(item);

    int64_t range = list->content_height() - list->height();
    auto offset = static_cast<int32_t>(range * state.range(1) / 100);
    list->on_pen_down(window, 0, 10, 60);
    list->on_pen_move(window, 0, 10, 60 - offset);
    headless.clock.advance(1000);
    list->on_pen_up(window, 0, 10, 60 - offset);
    list->select(list->row_at(240));

    for (auto _ : state) {
        list->paint(frame);
        benchmark::DoNotOptimize(frame.data());
    }
    SelectList::RowRange rows = list->visible_rows();
    state.counters["rows_drawn"] = rows.end - rows.first;
}
BENCHMARK(BM_SelectListDraw)
    ->ArgNames({"items", "percent"})
    ->ArgsProduct({{100, 100'000}, {0, 50, 100}})
    ->Unit(benchmark::kMicrosecond);

// A tree the size of the program's: a root, a frame and ten Panels holding sixty
// controls of every kind. One iteration routes a pen-down and a pen-up that land on
// a button of the last page, so every control is offered both events.
void BM_PanelRouting(benchmark::State& state) {
    HeadlessPlatform headless;
    Window* window = headless.windows.create_window(u"Bench", u"Bench", quiet_procedure);
    std::vector<std::unique_ptr<Control>> controls;
    auto make = [&](auto control) -> auto& {
        auto& made = *control;
        controls.push_back(std::move(control));
        return made;
    };

    Panel& root = make(std::make_unique<Panel>(window, 1));
    Panel& frame = make(std::make_unique<Panel>(window, 5));
    root.add_child(&frame);
    uint32_t id = 100;
    for (int page_index = 0; page_index < 10; ++page_index) {
        Panel& page = make(std::make_unique<Panel>(window, 20 + page_index));
        frame.add_child(&page);
        int32_t top = 52 * (page_index % 10);
        for (int i = 0; i < 6; ++i) {
            Control* control = nullptr;
            switch (i % 6) {
                case 0:
                case 1: control = &make(std::make_unique<Button>(window, id++)); break;
                case 2: control = &make(std::make_unique<CheckButton>(window, id++)); break;
                case 3: control = &make(std::make_unique<Label>(window, id++)); break;
                case 4: control = &make(std::make_unique<Picture>(window, id++)); break;
                default: {
                    auto& selector = make(std::make_unique<ValueSelector>(window, id++));
                    selector.add_value(u"1").add_value(u"2").select(0);
                    control = &selector;
                }
            }
            control->set_rect(80 * i, top, 80, 52);
            page.add_child(control);
        }
    }

    for (auto _ : state) {
        benchmark::DoNotOptimize(root.on_pen_down(window, 0, 10, 470));
        benchmark::DoNotOptimize(root.on_pen_up(window, 0, 10, 470));
    }
    state.counters["controls"] = static_cast<double>(controls.size() - 12);
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_PanelRouting);

}  // namespace
}  // namespace tiltophon
