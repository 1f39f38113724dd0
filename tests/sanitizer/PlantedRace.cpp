// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A data race on purpose, run under ThreadSanitizer with the suppressions every test
// gets: the test passes only when the race is reported, so the suppressions can never
// grow to hide a race in our own code.

#include <cstdio>
#include <thread>

namespace {

int unguarded_count = 0;

__attribute__((noinline)) void count_without_a_lock() {
    for (int i = 0; i < 1000; ++i) ++unguarded_count;
}

}  // namespace

int main() {
    std::thread first(count_without_a_lock);
    std::thread second(count_without_a_lock);
    first.join();
    second.join();
    std::printf("%d\n", unguarded_count);
    return 0;
}
