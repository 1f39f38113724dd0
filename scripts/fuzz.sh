#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes one target: scripts/fuzz.sh TARGET SECONDS (scripts/fuzz.sh --list names them);
# scripts/fuzz.sh --all SECONDS fuzzes each target in turn, as scripts/test.sh does.
#
# Builds the fuzz preset when needed, replays the target's seed corpus (fuzz/corpus/TARGET)
# and the inputs found by earlier runs (build/fuzz/corpus/TARGET), then fuzzes for
# SECONDS. New inputs go to build/fuzz/corpus/TARGET; a crash, hang or leak stops the run
# with its input saved under build/fuzz/artifacts/. Re-run a saved input with
#   build/fuzz/fuzz/fuzz_TARGET FILE
# and, once the fault is fixed, keep it as a regression case in fuzz/corpus/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=()
for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done

usage() {
    echo "usage: scripts/fuzz.sh TARGET|--all SECONDS   (targets: ${targets[*]})" >&2
    exit 2
}

if [ "${1:-}" = "--list" ]; then
    printf '%s\n' "${targets[@]}"
    exit 0
fi
[ $# -eq 2 ] || usage
build() {
    [ -n "${TILTOPHON_FUZZ_NO_BUILD:-}" ] && return
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j "$(nproc)" \
        || { echo "fuzz: the fuzz build failed (cmake --build --preset fuzz)" >&2; exit 1; }
}

if [ "$1" = "--all" ]; then
    build
    # A fuzzer is one process: the targets run side by side, one per core, and each
    # says its own result when it ends.
    jobs=$(nproc)
    running=0
    failed=0
    for target in "${targets[@]}"; do
        if [ "$running" -ge "$jobs" ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
        TILTOPHON_FUZZ_NO_BUILD=1 "$0" "$target" "$2" &
        running=$((running + 1))
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    [ "$failed" -eq 0 ] || { echo "fuzz: a target failed (see above)" >&2; exit 1; }
    exit 0
fi
target=$1
seconds=$2
[[ " ${targets[*]} " == *" $target "* ]] || { echo "fuzz: no target named '$target'" >&2; usage; }
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "fuzz: SECONDS must be a whole number" >&2; usage; }

build

fuzzer=build/fuzz/fuzz/fuzz_$target
[ -x "$fuzzer" ] || { echo "fuzz: $fuzzer was not built" >&2; exit 1; }
found=build/fuzz/corpus/$target
artifacts=build/fuzz/artifacts
mkdir -p "$found" "$artifacts"

# A short sound file must never turn into a big sound: no legitimate input of the size
# libFuzzer makes needs more than a few megabytes of output.
limits=()
case $target in
    sound_file) limits=(-malloc_limit_mb=64) ;;
esac

# Leaks inside the system's libraries that are none of ours (see the file).
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "${limits[@]}" \
    -artifact_prefix="$artifacts/$target-" "$found" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "fuzz: $target failed (exit $status); the input is in $artifacts/" >&2
    exit 1
fi
echo "fuzz: $target ok, ${runs:-?} runs in ${seconds} s (${speed:-?} per second)" >&2
