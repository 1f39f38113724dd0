#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark of the default build with repetitions and writes
# docs/BENCHMARKS.md and the table in README.md: median and spread of each, the machine
# they ran on, and each figure against its reference where it has one.
#
#   scripts/bench-report.sh [REPETITIONS]    (5 when not given)
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions=${1:-5}
[[ "$repetitions" =~ ^[1-9][0-9]*$ ]] || { echo "bench-report: REPETITIONS must be a positive number" >&2; exit 2; }

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target tiltophon_bench \
    || { echo "bench-report: the benchmarks did not build" >&2; exit 1; }

results=build/default/bench-results.json
echo "bench-report: running every benchmark $repetitions times" >&2
build/default/bench/tiltophon_bench --benchmark_repetitions="$repetitions" \
    --benchmark_out="$results" --benchmark_out_format=json >/dev/null \
    || { echo "bench-report: a benchmark failed" >&2; exit 1; }

python3 scripts/bench-report.py "$results" docs/BENCHMARKS.md README.md
echo "bench-report: wrote docs/BENCHMARKS.md and the table in README.md" >&2
