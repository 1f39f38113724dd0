# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Turns Google Benchmark's JSON results into docs/BENCHMARKS.md and the README's copy of
its table (see bench-report.sh)."""
import json
import os
import platform
import re
import statistics
import subprocess
import sys

# Each benchmark's reference: what it is measured against. A benchmark that gives a
# frame_bytes counter (full-screen primitives, page paints, transition frames) is
# measured against the BM_Memcpy run with the same frame_bytes: memcpy of the same
# bytes. The others take the first of these that matches their name, if any.
FRAME_PERIOD_NS = 11e6  # the animation clock's tick: one frame of a transition or glide
SAMPLE_PERIOD_NS = 50e6  # a detector's polling period
REFERENCES = [
    (r"^BM_(SplashPaint|SelectListDraw)", "11 ms frame", FRAME_PERIOD_NS),
    (r"^BM_MotionDetectorSample", "50 ms sample", SAMPLE_PERIOD_NS),
]
# Goals, as the most a median may be of its reference.
GOALS = [
    (r"^BM_ComposeTransitionFrame/", 3.0),
    (r"^BM_PaintPage/", 10.0),
    (r"^BM_PresentPhoneFrame", 10.0),
]
# Goals on a benchmark's own counters: the counter, the most it may be (worked out from
# the run's counters) and how the goal reads, with the limit in it. A sound cannot start before the device
# asks for its next period, so the swing's goal is one period plus 0.5 ms. Through the
# sound server the sound also waits for the server's buffer, its graph's quantum and
# the monitor's recorder: about 22 ms at the median when it was first measured, and
# the goal leaves room for a busy machine's scheduling on top.
COUNTER_GOALS = [
    (r"^BM_SwingToFirstFrame/prepared:1/", "first_p99_ms",
     lambda c: c["buffer_ms"] + 0.5, "first_p99_ms ≤ buffer_ms + 0.5 ms = %.3g ms"),
    (r"^BM_SwingThroughSoundServer/", "heard_p99_ms", lambda c: 40.0, "heard_p99_ms ≤ %.3g ms"),
]
FRAME_BYTES = "frame_bytes"
UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def reference_of(name):
    for pattern, label, period in REFERENCES:
        if re.search(pattern, name):
            return label, period
    return None, None


def goal_of(name):
    for pattern, goal in GOALS:
        if re.search(pattern, name):
            return goal
    return None


def counter_goal_of(name, runs):
    """The goal column of a benchmark with a goal on its counters, or None."""
    for pattern, counter, limit_of, text in COUNTER_GOALS:
        if not re.search(pattern, name):
            continue
        medians = {key: statistics.median(r[key] for r in runs if key in r)
                   for key in runs[0] if isinstance(runs[0][key], (int, float))}
        if counter not in medians:
            return None
        limit = limit_of(medians)
        over = " **over**" if medians[counter] > limit else ""
        return text % limit + over
    return None


def frame_bytes_of(runs):
    return runs[0].get(FRAME_BYTES)


def memcpy_references(runs):
    """Each BM_Memcpy run's label and median time, by the bytes it copies."""
    references = {}
    for name, its_runs in runs.items():
        if not (name == "BM_Memcpy" or name.startswith("BM_Memcpy/")) or not frame_bytes_of(its_runs):
            continue
        size = re.search(r"width:(\d+)/height:(\d+)", name)
        label = "memcpy " + ("%s × %s" % size.groups() if size else name)
        references[frame_bytes_of(its_runs)] = (label, statistics.median(
            r["real_time"] * UNIT_NS[r["time_unit"]] for r in its_runs))
    return references


def show(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if ns >= scale:
            return "%.3g %s" % (ns / scale, unit)
    return "%.3g ns" % ns


def ratio(value):
    return "%.3g×" % value if value >= 0.01 else "%.2g×" % value


def machine():
    model = platform.processor() or "unknown CPU"
    try:
        with open("/proc/cpuinfo") as cpuinfo:
            for line in cpuinfo:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    system = platform.system() + " " + platform.release()
    try:
        with open("/etc/os-release") as release:
            fields = dict(line.rstrip("\n").split("=", 1) for line in release if "=" in line)
            system = fields.get("PRETTY_NAME", system).strip('"')
    except OSError:
        pass
    try:
        compiler = subprocess.run(["c++", "--version"], capture_output=True, text=True).stdout
        compiler = compiler.splitlines()[0] if compiler else "unknown compiler"
    except OSError:
        compiler = "unknown compiler"
    return model, os.cpu_count(), system, compiler


def main(results_path, report_path):
    with open(results_path) as results:
        data = json.load(results)
    runs = {}
    order = []
    for run in data["benchmarks"]:
        if run.get("run_type") != "iteration" or run.get("error_occurred"):
            continue
        name = run["run_name"]
        if name not in runs:
            runs[name] = []
            order.append(name)
        runs[name].append(run)

    memcpy = memcpy_references(runs)

    context = data["context"]
    model, cores, system, compiler = machine()
    repetitions = max(len(r) for r in runs.values()) if runs else 0
    lines = [
        "# Benchmarks",
        "",
        "Written by `scripts/bench-report.sh` (Google Benchmark, default build: optimised with",
        "debug information) from %d repetitions of every benchmark in `bench/`. Times are" % repetitions,
        "wall-clock per iteration: the median of the repetitions, then the fastest and the",
        "slowest repetition. Where a figure has a reference it is given as a share of it:",
        "full-screen primitives, page paints and transition frames against `memcpy` of the",
        "same bytes (`BM_Memcpy` of the same width and height: 480 × 640 is the handset's",
        "screen, 480 × 1040 the logical screen of a 1080 × 2340 phone), other paints against",
        "the 11 ms between two animation ticks, a detector step against its 50 ms polling",
        "period. The goals are shares of the reference that the median should stay within,",
        "or a limit on one of the benchmark's own counters (the median of the repetitions);",
        "a figure over its goal is marked **over**.",
        "",
        "Machine: %s, %d cores, %s; %s." % (model, cores, system, compiler),
        "Run on %s; CPU scaling %s; load average at the start %s." % (
            context.get("date", "?"), "on" if context.get("cpu_scaling_enabled") else "off",
            " ".join("%.2f" % load for load in context.get("load_avg", [])) or "unknown"),
        "",
        "| benchmark | median | fastest – slowest | reference | median / reference | goal | counters |",
        "|---|---:|---:|---|---:|---:|---|",
    ]
    for name in order:
        times = sorted(r["real_time"] * UNIT_NS[r["time_unit"]] for r in runs[name])
        median = statistics.median(times)
        label, period = reference_of(name)
        frame_bytes = frame_bytes_of(runs[name])
        if name.startswith("BM_Memcpy"):
            label, period = None, None
        elif frame_bytes:
            label, period = memcpy.get(frame_bytes, ("memcpy (not run)", None))
        share = ""
        goal = goal_of(name)
        if period:
            share = ratio(median / period)
            if goal and median / period > goal:
                share += " **over**"
        counters = []
        for key, value in runs[name][0].items():
            if key in ("name", "family_index", "per_family_instance_index", "run_name", "run_type",
                       "repetitions", "repetition_index", "threads", "iterations", "real_time",
                       "cpu_time", "time_unit", "bytes_per_second", "items_per_second",
                       "aggregate_name", "aggregate_unit", "error_occurred", "error_message",
                       FRAME_BYTES):
                continue
            if isinstance(value, (int, float)):
                values = [r.get(key, value) for r in runs[name]]
                counters.append("%s %.4g" % (key, statistics.median(values)))
        goal_text = "≤ %g×" % goal if goal else counter_goal_of(name, runs[name]) or "—"
        lines.append("| `%s` | %s | %s – %s | %s | %s | %s | %s |" % (
            name, show(median), show(times[0]), show(times[-1]), label or "—", share or "—",
            goal_text, ", ".join(counters)))
    lines += ["", *SWING_NOTES, ""]
    with open(report_path, "w") as report:
        report.write("\n".join(lines))
    return lines


# What the latency rows time, which their counters alone do not say.
SWING_NOTES = [
    "`BM_SwingToFirstFrame` times a posted swing until the device's callback has copied the",
    "sound's first frame (SDL's dummy driver, 256-frame periods: `buffer_ms`); busy:2 runs",
    "two busy processes of the benchmark's own beside it.",
    "`BM_SwingThroughSoundServer` times a posted swing until the sound's first samples are",
    "on a null sink's monitor, through PipeWire and its PulseAudio service: the player asks",
    "SDL for 256 frames at 44.1 kHz, the graph then runs with a quantum of 256 frames at",
    "48 kHz (`quantum`, as pw-top shows it), and the figure includes the monitor's recorder",
    "(parec, asking for 5 ms).",
]


README_BEGIN = "<!-- benchmark table: written by scripts/bench-report.sh -->"
README_END = "<!-- end of benchmark table -->"


def update_readme(readme_path, lines):
    """Replaces the README's copy of the report, between its two markers."""
    with open(readme_path) as readme:
        text = readme.read()
    begin = text.find(README_BEGIN)
    end = text.find(README_END)
    if begin < 0 or end < begin:
        sys.exit("bench-report: %s lacks the benchmark table's markers" % readme_path)
    # The report without its heading; the README has its own.
    body = "\n".join(lines[2:]).rstrip("\n")
    text = text[:begin] + README_BEGIN + "\n" + body + "\n" + text[end:]
    with open(readme_path, "w") as readme:
        readme.write(text)


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: bench-report.py RESULTS.json REPORT.md [README.md]")
    report_lines = main(sys.argv[1], sys.argv[2])
    if len(sys.argv) == 4:
        update_readme(sys.argv[3], report_lines)
