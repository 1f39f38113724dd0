// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every `operator new` of the benchmark process so far, on any thread: the benchmarks
// replace the global allocation functions to count them.
long allocations_so_far();
