// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SortOrder.h"

#include <algorithm>
#include <cstdint>

#include "platform/Text.h"

namespace tiltophon {

namespace {

// Counts over positions 0 .. n-1 with prefix sums and "find the k-th one".
class FenwickTree {
public:
    explicit FenwickTree(std::size_t n) : tree_(n + 1, 0) {}

    void add(std::size_t position, int32_t delta) {
        for (std::size_t i = position + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
    }

    // Sum over positions 0 .. position-1.
    int32_t prefix(std::size_t position) const {
        int32_t sum = 0;
        for (std::size_t i = position; i > 0; i -= i & (~i + 1)) sum += tree_[i];
        return sum;
    }

    // The position holding the k-th (0-based) unit, with every count 0 or 1.
    std::size_t find(int32_t k) const {
        std::size_t position = 0;
        std::size_t step = 1;
        while (step * 2 < tree_.size()) step *= 2;
        for (; step > 0; step /= 2) {
            if (position + step < tree_.size() && tree_[position + step] <= k) {
                position += step;
                k -= tree_[position];
            }
        }
        return position;
    }

private:
    std::vector<int32_t> tree_;
};

}  // namespace

std::vector<std::size_t> ascending_order(const std::vector<std::u16string_view>& keys) {
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return compare_ignoring_case(keys[a], keys[b]) < 0;
    });
    return order;
}

// How the passes treat one group of equal keys. Restricted to the entries whose keys
// are less than or equal to the group's, the passes behave as if the others were not
// there, and within that subsequence the group holds the largest key. A pass then
// moves the group's first entry to the end of the group's leading run when the
// subsequence starts with that run; every other entry of the group moves one place
// left. So the leading run is a queue that turns by one entry per pass and takes in,
// at its back, each entry of the group once the smaller keys before it have moved
// past it: entry j joins after d_j passes, d_j being the number of smaller keys
// before it at the start. Once the smaller keys have all moved past (after as many
// passes as there are smaller keys), the following passes place the queue's entries
// from the right, so the group ends up as the queue reversed.
//
// The queue is kept as positions in a sequence plus the index of its front, so that
// each insertion's position is known from the sizes alone; the final sequence is
// then rebuilt from those positions in reverse.
namespace {

void place_equal_group(const std::vector<std::size_t>& members,
                       const std::vector<std::size_t>& smaller_before, std::size_t smaller_total,
                       std::vector<std::size_t>& out) {
    std::size_t count = members.size();
    std::vector<std::size_t> insert_at(count);
    std::size_t size = 0;
    std::size_t front = 0;
    std::size_t now = 0;
    for (std::size_t i = 0; i < count;) {
        std::size_t joins = smaller_before[members[i]];
        if (size > 0) front = (front + (joins - now)) % size;
        std::size_t j = i;
        for (; j < count && smaller_before[members[j]] == joins; ++j)
            insert_at[j] = front + (j - i);
        std::size_t batch = j - i;
        front = size > 0 ? front + batch : 0;
        size += batch;
        now = joins;
        i = j;
    }
    if (size > 0) front = (front + (smaller_total - now)) % size;

    std::vector<std::size_t> sequence(count);
    FenwickTree free_slots(count);
    for (std::size_t s = 0; s < count; ++s) free_slots.add(s, 1);
    for (std::size_t j = count; j-- > 0;) {
        std::size_t slot = free_slots.find(static_cast<int32_t>(insert_at[j]));
        sequence[slot] = members[j];
        free_slots.add(slot, -1);
    }
    for (std::size_t t = 0; t < count; ++t)
        out.push_back(sequence[(front + count - 1 - t) % count]);
}

}  // namespace

std::vector<std::size_t> descending_order(const std::vector<std::u16string_view>& keys) {
    std::size_t n = keys.size();
    std::vector<std::size_t> ascending = ascending_order(keys);

    // Groups of equal keys, numbered from the smallest key; each group's members in
    // their original order (the stable sort kept it) and where the group begins.
    std::vector<std::size_t> group_of(n);
    std::vector<std::size_t> group_begin;
    for (std::size_t i = 0; i < n; ++i) {
        bool new_group =
            i == 0 || compare_ignoring_case(keys[ascending[i - 1]], keys[ascending[i]]) != 0;
        if (new_group) group_begin.push_back(i);
        group_of[ascending[i]] = group_begin.size() - 1;
    }
    group_begin.push_back(n);

    std::vector<std::size_t> smaller_before(n);
    FenwickTree seen(group_begin.size());
    for (std::size_t i = 0; i < n; ++i) {
        smaller_before[i] = static_cast<std::size_t>(seen.prefix(group_of[i]));
        seen.add(group_of[i], 1);
    }

    std::vector<std::size_t> order;
    order.reserve(n);
    for (std::size_t g = group_begin.size() - 1; g-- > 0;) {
        std::vector<std::size_t> members(ascending.begin() + group_begin[g],
                                         ascending.begin() + group_begin[g + 1]);
        place_equal_group(members, smaller_before, group_begin[g], order);
    }
    return order;
}

}  // namespace tiltophon
