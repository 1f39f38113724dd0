#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs the tests.
#
#   scripts/test.sh          the normal build and its tests: a few minutes
#   scripts/test.sh --full   everything CI runs: the normal build, AddressSanitizer with
#                            UndefinedBehaviorSanitizer (and the long soak), the threaded
#                            tests under ThreadSanitizer, every benchmark once, the licence
#                            check, the Debian package, and a short fuzzing run per target
set -euo pipefail
cd "$(dirname "$0")/.."

full=0
case "${1:-}" in
    "") ;;
    --full) full=1 ;;
    *) echo "usage: scripts/test.sh [--full]" >&2; exit 2 ;;
esac

scripts/install-deps.sh

jobs=$(nproc)
build_and_test() {
    echo "== $1 build" >&2
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs"
}

build_and_test default
[ "$full" -eq 1 ] || exit 0

build_and_test asan
build_and_test tsan

echo "== benchmarks, once each" >&2
scripts/bench-smoke.sh

echo "== licences" >&2
reuse lint >/dev/null || { reuse lint >&2; echo "test: reuse lint failed" >&2; exit 1; }

echo "== package" >&2
scripts/package-check.sh

echo "== fuzz" >&2
scripts/fuzz.sh --all "${TILTOPHON_FUZZ_SECONDS:-20}"
