#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the input-event recordings in tests/fixtures/evdev/, one per kernel driver.

Nothing here is captured from a device. Each recording is what the driver would report
for a controller (or laptop) held like a phone, lying flat, buttons up, that is swung
right, left, forward, back and up in turn, with rest in between. The swings are made in
the library's frame (thousandths of g: X right, Y to the top edge, Z -1000 at rest)
and put into each driver's frame and units from the driver's documented conventions:
  DEVICE[axis] = units_per_g * (x * RIGHT[axis] - y * TOP[axis] - z * UP[axis]) / 1000
where UP is the device's reading lying flat (its +1 g axis), RIGHT the way its reading
moves when the right edge dips, and TOP the way it moves when the top edge dips (the
library's Y falls then).

Run it from anywhere: python3 tests/motion/make_evdev_fixtures.py
"""
import math
import pathlib

OUT = pathlib.Path(__file__).resolve().parent.parent / "fixtures" / "evdev"
PEAK = 1000  # thousandths of g over rest: fires from sensitivity 4 up

# name, what it is, axis codes, absinfo (min, max, resolution), UP, RIGHT, TOP,
# gyroscope axes to mix in, whether it has a Z axis.
DRIVERS = [
    ("playstation", "DualSense motion sensors (hid-playstation): X right, Y out of the "
     "buttons, Z towards the player; DS_ACC_RES_PER_G 8192, DS_ACC_RANGE 4 g",
     ("ABS_X", "ABS_Y", "ABS_Z"), (-32768, 32768, 8192),
     (0, 1, 0), (-1, 0, 0), (0, 0, 1), True, True),
    ("sony", "Sixaxis motion sensors (hid-sony): the DualShock 4 frame, "
     "SIXAXIS_ACC_RES_PER_G 113 over -512..511",
     ("ABS_X", "ABS_Y", "ABS_Z"), (-512, 511, 113),
     (0, 1, 0), (-1, 0, 0), (0, 0, 1), True, True),
    ("nintendo", "Switch Pro Controller IMU (hid-nintendo): X towards the triggers, "
     "Y left, Z up out of the buttons; JC_IMU_ACCEL_RES_PER_G 4096",
     ("ABS_X", "ABS_Y", "ABS_Z"), (-32767, 32767, 4096),
     (0, 0, 1), (0, 1, 0), (-1, 0, 0), True, True),
    ("wiimote", "Wii remote accelerometer (hid-wiimote): raw 10-bit values less 0x200 on "
     "ABS_RX..ABS_RZ, X left, Y to the pointer end, Z up; no resolution (about 100 per g)",
     ("ABS_RX", "ABS_RY", "ABS_RZ"), (-500, 500, 0),
     (0, 0, 1), (1, 0, 0), (0, -1, 0), False, True),
    ("lis3lv02d", "HP laptop accelerometer (lis3lv02d): mg, horizontal +Z, left side "
     "raised X > 0, front raised Y < 0; no resolution",
     ("ABS_X", "ABS_Y", "ABS_Z"), (-2300, 2300, 0),
     (0, 0, 1), (1, 0, 0), (0, -1, 0), False, True),
    ("hdaps", "ThinkPad tilt sensor (hdaps): X and Y only, -256..256, no resolution "
     "(taken as 256 per g), the lis3lv02d organisation",
     ("ABS_X", "ABS_Y"), (-256, 256, 0),
     (0, 0, 1), (1, 0, 0), (0, -1, 0), False, False),
]

FALLBACK = {"wiimote": 100, "lis3lv02d": 1000, "hdaps": 256}

REST = (0, 0, -1000)


def lobe(count=7):
    return [PEAK * math.sin(math.pi * (k + 1) / (count + 1)) for k in range(count)]


def swing(move):
    samples = []
    for a in lobe():
        x, y, z = REST
        if move == "right":
            x = a
        elif move == "left":
            x = -a
        elif move == "forward":
            y = -a
        elif move == "back":
            y = a
        elif move == "up":
            z = -1000 - a
        samples.append((x, y, z))
    return samples


def device_values(sample, units, up, right, top, axes):
    x, y, z = sample
    values = []
    for axis in range(axes):
        g = (x * right[axis] - y * top[axis] - z * up[axis]) / 1000.0
        values.append(round(g * units))
    return values


def write(name, about, codes, absinfo, up, right, top, gyro, has_z):
    units = absinfo[2] or FALLBACK[name]
    moves = ["right", "left", "forward", "back"] + (["up"] if has_z else [])
    codes_expected = {"right": 4, "left": 3, "forward": 1, "back": 2, "up": 5}
    samples = [REST] * 4
    for move in moves:
        samples += swing(move) + [REST] * 6
    rest = device_values(REST, units, up, right, top, len(codes))
    lines = [
        f"# {about}.",
        "# Made by tests/motion/make_evdev_fixtures.py, not captured from a device: held",
        "# like a phone (flat, buttons up), swung " + ", ".join(moves) + ",",
        f"# {PEAK} thousandths of g at the peak, one report per 50 ms.",
        f"driver {name}",
    ]
    for code, value in zip(codes, rest):
        lines.append(f"absinfo {code} {absinfo[0]} {absinfo[1]} {absinfo[2]} {value}")
    lines.append("expect " + " ".join(str(codes_expected[m]) for m in moves))
    t = 0
    for sample in samples:
        values = device_values(sample, units, up, right, top, len(codes))
        for code, value in zip(codes, values):
            lines.append(f"EV_ABS {code} {value}")
        if gyro:
            for code in ("ABS_RX", "ABS_RY", "ABS_RZ"):
                lines.append(f"EV_ABS {code} {(t * 37) % 2000 - 1000}")
            lines.append(f"EV_MSC MSC_TIMESTAMP {t * 50000}")
        lines.append("EV_SYN SYN_REPORT 0")
        t += 1
    OUT.mkdir(parents=True, exist_ok=True)
    (OUT / f"{name}.events").write_text("\n".join(lines) + "\n")


for driver in DRIVERS:
    write(*driver)
