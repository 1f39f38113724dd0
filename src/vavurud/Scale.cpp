// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <atomic>

#include "platform/Platform.h"
#include "vavurud/Draw.h"

namespace tiltophon {

namespace {

// -1 is what a failed read gives, and it is cached like any other value.
constexpr int32_t kUnread = -2;
std::atomic<int32_t> g_dpi_x{kUnread};
std::atomic<int32_t> g_dpi_y{kUnread};

int32_t read_dpi(std::atomic<int32_t>& cache, bool horizontal) {
    int32_t dpi = cache.load(std::memory_order_acquire);
    if (dpi != kUnread) return dpi;
    WindowSystem* windows = platform().windows;
    int32_t read = -1;
    if (windows) read = horizontal ? windows->screen().dpi_x : windows->screen().dpi_y;
    int32_t expected = kUnread;
    cache.compare_exchange_strong(expected, read, std::memory_order_acq_rel);
    return cache.load(std::memory_order_acquire);
}

}  // namespace

int32_t scale_x(int32_t n) { return (n * read_dpi(g_dpi_x, true) + 48) / 96; }
int32_t scale_y(int32_t n) { return (n * read_dpi(g_dpi_y, false) + 48) / 96; }

void reset_scale_cache() {
    g_dpi_x.store(kUnread);
    g_dpi_y.store(kUnread);
}

}  // namespace tiltophon
