#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark of the default build once, for a minimal time, so that none can
# rot unnoticed: a benchmark that does not build, crashes or reports an error fails the
# run. The figures mean nothing here; scripts/bench-report.sh measures.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build --preset default -j "$(nproc)" --target tiltophon_bench \
    || { echo "bench-smoke: the benchmarks did not build" >&2; exit 1; }
results=$(mktemp)
trap 'rm -f "$results"' EXIT
build/default/bench/tiltophon_bench --benchmark_min_time=0.001 \
    --benchmark_out="$results" --benchmark_out_format=json >/dev/null \
    || { echo "bench-smoke: the benchmark program failed" >&2; exit 1; }
python3 - "$results" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
failed = [r["name"] + ": " + r.get("error_message", "") for r in runs if r.get("error_occurred")]
if not runs:
    sys.exit("bench-smoke: no benchmark ran")
if failed:
    sys.exit("bench-smoke: benchmarks reported errors:\n  " + "\n  ".join(failed))
print(f"bench-smoke: {len(runs)} benchmarks ran without error", file=sys.stderr)
PY
