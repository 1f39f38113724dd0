#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every test: the normal build, then AddressSanitizer with
# UndefinedBehaviorSanitizer, then the threaded tests under ThreadSanitizer; then
# checks the Debian package, replays the fuzz corpora and fuzzes each target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
for preset in default asan tsan; do
  echo "== $preset build" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "== package" >&2
scripts/package-check.sh

echo "== fuzz" >&2
scripts/fuzz.sh --all "${TILTOPHON_FUZZ_SECONDS:-20}"
