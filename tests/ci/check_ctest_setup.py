#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that a test run cannot pass by accident: every test preset treats a run of no
tests as an error, the test programs are split into one CTest test per case, and every
test has a timeout, so a hang fails instead of holding CI.

    check_ctest_setup.py CMakePresets.json BUILD_DIR
"""
import json
import subprocess
import sys


def main():
    presets_file, build_dir = sys.argv[1], sys.argv[2]
    problems = []

    presets = json.load(open(presets_file))["testPresets"]
    for preset in presets:
        action = preset.get("execution", {}).get("noTestsAction")
        if action != "error":
            problems.append(f"test preset {preset['name']}: noTestsAction is {action!r}, not 'error'")

    listing = subprocess.run(["ctest", "--test-dir", build_dir, "--show-only=json-v1"],
                             capture_output=True, text=True, check=True)
    tests = json.loads(listing.stdout)["tests"]
    cases = [t for t in tests if "." in t["name"]]
    if len(cases) < 100:
        problems.append(f"only {len(cases)} test cases are registered one by one")
    for test in tests:
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        if float(props.get("TIMEOUT", 0)) <= 0:
            problems.append(f"{test['name']} has no timeout")

    for problem in problems:
        print(f"check_ctest_setup: {problem}", file=sys.stderr)
    if problems:
        return 1
    print(f"{len(tests)} tests, {len(cases)} of them single cases, all with a timeout; "
          f"{len(presets)} presets refuse an empty run")
    return 0


if __name__ == "__main__":
    sys.exit(main())
