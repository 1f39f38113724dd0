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
# Each stage says how long the one before it took, so a slow CI run shows where its
# time went.
stage_started=$SECONDS
stage() {
    echo "== $1 (the stage before took $((SECONDS - stage_started)) s, $SECONDS s so far)" >&2
    stage_started=$SECONDS
}
trap 'stage "end"' EXIT

build_and_test() {
    stage "$1 build"
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    stage "$1 tests"
    ctest --preset "$1" -j "$jobs"
}

build_and_test default
[ "$full" -eq 1 ] || exit 0

build_and_test asan
build_and_test tsan

stage "benchmarks, once each"
scripts/bench-smoke.sh

stage "licences"
reuse lint >/dev/null || { reuse lint >&2; echo "test: reuse lint failed" >&2; exit 1; }

stage "package"
scripts/package-check.sh

stage "fuzz"
scripts/fuzz.sh --all "${TILTOPHON_FUZZ_SECONDS:-20}"
