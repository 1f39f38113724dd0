// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "alloc/CountingAllocator.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_allocations{0};

void* counted_allocation(std::size_t size, std::size_t alignment) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (size == 0) size = 1;
    if (alignment <= alignof(std::max_align_t)) return std::malloc(size);
    // aligned_alloc wants a size that is a multiple of the alignment.
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

}  // namespace

long tiltophon::allocations_so_far() {
    return g_allocations.load();
}

// Kept out of line: inlined, the compiler would pair the malloc and free it sees with
// the new and delete expressions around them and warn of a mismatch.
__attribute__((noinline)) void* operator new(std::size_t size) {
    if (void* p = counted_allocation(size, 0)) return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* p = counted_allocation(size, static_cast<std::size_t>(alignment))) return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counted_allocation(size, 0);
}
__attribute__((noinline)) void operator delete(void* p) noexcept {
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
