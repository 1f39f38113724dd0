// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The allocation tests' program replaces the global operator new with one that counts
// every allocation on any thread (CountingAllocator.cpp), which is why they are a
// program of their own: the other tests keep the sanitizers' own allocator checks.

namespace tiltophon {

// Every operator new of the process so far.
long allocations_so_far();

// Allocations made between construction and `count`.
class AllocationCount {
public:
    long count() const { return allocations_so_far() - before_; }

private:
    long before_ = allocations_so_far();
};

}  // namespace tiltophon
