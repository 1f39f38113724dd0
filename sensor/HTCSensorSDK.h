// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* The accelerometer library's interface: three C functions, looked up by name.
 *
 * HTCSensorOpen(kind)                 opens sensor `kind` (1: the accelerometer) and
 *                                     returns its handle, 0 when it cannot be opened.
 * HTCSensorGetDataOutput(handle, r)   fills the first three signed 16-bit fields of the
 *                                     20-byte record `r` with X, Y and Z in thousandths
 *                                     of g (Z about -1000 lying still, screen up) and
 *                                     returns 1; 0 with X, Y, Z zero for a handle that
 *                                     is not open. The other 14 bytes are left alone.
 * HTCSensorClose(handle)              ends the use of the handle.
 *
 * Which readings an opened sensor gives is chosen by the environment when it is opened:
 *   TILTOPHON_SENSOR=auto          the first Linux IIO accelerometer, else the first
 *                                  input-event accelerometer (the default);
 *   TILTOPHON_SENSOR=iio           the first Linux IIO accelerometer;
 *   TILTOPHON_SENSOR=evdev         the first input-event accelerometer (a game
 *                                  controller's motion sensors, a laptop's);
 *   TILTOPHON_SENSOR=evdev:PATH    the input-event device PATH (/dev/input/eventN);
 *   TILTOPHON_SENSOR=replay:FILE   a trace of "x y z" lines, one per 50 ms, looped;
 *   TILTOPHON_SENSOR=fifo:PATH     "x y z" lines written into a named pipe.
 *   TILTOPHON_SENSOR_PACE=reads:N  a trace moves on by one line every N reads instead
 *                                  of every 50 ms of real time ("time", the default).
 * Handles are never 0 and are not reused right away, so a stale handle reads zeros.
 * The functions may be called from any thread; calls are serialised. */
#ifndef TILTOPHON_HTC_SENSOR_SDK_H
#define TILTOPHON_HTC_SENSOR_SDK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

__attribute__((visibility("default"))) uint32_t HTCSensorOpen(uint32_t kind);
__attribute__((visibility("default"))) int HTCSensorGetDataOutput(uint32_t handle, void* record);
__attribute__((visibility("default"))) void HTCSensorClose(uint32_t handle);

#ifdef __cplusplus
}
#endif

#endif
