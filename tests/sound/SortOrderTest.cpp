// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/Text.h"
#include "sound/SortOrder.h"

namespace tiltophon {
namespace {

// n passes of neighbour exchanges over positions, exchanging when `exchange` says so.
template <typename Exchange>
std::vector<std::size_t> bubble_passes(const std::vector<std::u16string_view>& keys,
                                       Exchange exchange) {
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::size_t n = order.size();
    for (std::size_t p = 0; p < n; ++p) {
        for (std::size_t k = 0; k + 1 + p < n; ++k) {
            if (exchange(compare_ignoring_case(keys[order[k]], keys[order[k + 1]]))) {
                std::swap(order[k], order[k + 1]);
            }
        }
    }
    return order;
}

std::vector<std::u16string_view> views(const std::vector<std::u16string>& texts) {
    return {texts.begin(), texts.end()};
}

TEST(SortOrder, MatchesTheNeighbourPassesOnRandomKeysWithManyEquals) {
    const std::u16string pool[] = {
        u"a", u"A", u"b", u"B", u"bb", u"c", u"", u"\u00c9t\u00e9", u"\u00e9T\u00c9"};
    std::mt19937 random(2024);
    for (int round = 0; round < 3000; ++round) {
        std::size_t n = random() % (round < 2500 ? 24 : 300);
        std::size_t distinct = 1 + random() % 9;
        std::vector<std::u16string> texts;
        for (std::size_t i = 0; i < n; ++i) texts.push_back(pool[random() % distinct]);
        auto keys = views(texts);

        ASSERT_EQ(ascending_order(keys), bubble_passes(keys, [](int c) { return c > 0; }))
            << "round " << round;
        ASSERT_EQ(descending_order(keys), bubble_passes(keys, [](int c) { return c <= 0; }))
            << "round " << round;
    }
}

TEST(SortOrder, DescendingShufflesEqualKeysAsThePassesDo) {
    // All equal: every pass carries the first to the end, which reverses them.
    std::vector<std::u16string> same(5, u"x");
    EXPECT_EQ(descending_order(views(same)), (std::vector<std::size_t>{4, 3, 2, 1, 0}));
    // Equal keys are not simply reversed once smaller keys sit between them.
    std::vector<std::u16string> mixed = {u"1", u"3", u"3", u"2", u"3",
                                         u"3", u"3", u"0", u"0", u"3"};
    EXPECT_EQ(descending_order(views(mixed)),
              (std::vector<std::size_t>{9, 1, 2, 6, 5, 4, 3, 0, 8, 7}));
    EXPECT_TRUE(descending_order({}).empty());
}

}  // namespace
}  // namespace tiltophon
