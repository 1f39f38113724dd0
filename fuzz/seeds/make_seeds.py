#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Every seed is made here from scratch: small PNG and sound files of each kind the
decoders handle, settings files in the forms people write by hand, and inputs that
build sound libraries, lay out text and swing the detectors.
"""
import ctypes
import ctypes.util
import math
import os
import pathlib
import random
import struct
import sys
import tempfile
import zlib

from fdp import Input

CORPUS = pathlib.Path(__file__).resolve().parent.parent / "corpus"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


# PNG ----------------------------------------------------------------------------------

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(width, height, depth, colour, rows, interlace=0, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def png_seeds():
    write("png_image", "rgb8", png(2, 2, 8, 2, [b"\xff\0\0\0\xff\0", b"\0\0\xff\xff\xff\xff"]))
    palette = chunk(b"PLTE", b"\0\0\0\xff\0\0\0\xff\0\0\0\xff") + chunk(b"tRNS", b"\x00\x80")
    write("png_image", "palette2_trns", png(3, 2, 2, 3, [b"\x1b", b"\xe4"], extra=palette))
    write("png_image", "gray_alpha8", png(1, 1, 8, 4, [b"\x80\x40"]))
    write("png_image", "rgba16", png(2, 1, 16, 6, [bytes(range(16))]))
    # Adam7 on a 2 x 2 image: pass 1 holds (0,0), pass 6 (1,0), pass 7 the second row.
    write("png_image", "gray16_interlaced",
          png(2, 2, 16, 0, [b"\x10\x00", b"\x20\x00", b"\x30\x00\x40\x00"], interlace=1))
    write("png_image", "gray1", png(8, 1, 1, 0, [b"\xa5"]))


# WAV ----------------------------------------------------------------------------------

def wave(tag, channels, rate, bits, data, block_align=None, extra=b"", extensible=False):
    block_align = block_align or channels * bits // 8
    byte_rate = rate * block_align
    if extensible:
        guid = struct.pack("<H", tag) + b"\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71"
        extra = struct.pack("<HHI", bits, 0, 0) + guid
        tag = 0xFFFE
    fmt = struct.pack("<HHIIHH", tag, channels, rate, byte_rate, block_align, bits)
    if extra or tag != 1:
        fmt += struct.pack("<H", len(extra)) + extra
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    if tag == 0x11:
        body += b"fact" + struct.pack("<II", 4, 18)
    body += b"data" + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
    return b"RIFF" + struct.pack("<I", len(body)) + body


def sound_file_seeds():
    # The last byte picks the output format the decoder converts to.
    pcm16 = struct.pack("<8h", 0, 8000, 16000, 8000, 0, -8000, -16000, -8000)
    write("sound_file", "pcm16_mono", wave(1, 1, 8000, 16, pcm16) + b"\x00")
    write("sound_file", "u8_stereo", wave(1, 2, 11025, 8, bytes(range(0, 256, 16))) + b"\x01")
    floats = struct.pack("<4f", 0.0, 0.5, -0.5, 1.0)
    write("sound_file", "float_mono", wave(3, 1, 48000, 32, floats) + b"\x02")
    write("sound_file", "pcm24_stereo", wave(1, 2, 44100, 24, bytes(range(24))) + b"\x03")
    write("sound_file", "mulaw", wave(7, 1, 8000, 8, bytes(range(0, 256, 8))) + b"\x00")
    write("sound_file", "alaw", wave(6, 1, 8000, 8, bytes(range(255, 0, -8))) + b"\x01")
    write("sound_file", "extensible_pcm16",
          wave(1, 2, 22050, 16, pcm16, extensible=True) + b"\x02")
    # IMA ADPCM, 9 samples per 8-byte block: a 4-byte header and 8 nibbles.
    blocks = (struct.pack("<hBB", 100, 10, 0) + b"\x12\x34\x56\x78") * 2
    write("sound_file", "ima_adpcm",
          wave(0x11, 1, 8000, 4, blocks, block_align=8, extra=struct.pack("<H", 9)) + b"\x03")
    # The other formats, encoded by libsndfile's own writers: a twentieth of a second
    # of a falling tone.
    tone = [0.5 * math.sin(i * 0.07) * (1 - i / 2400) for i in range(2400)]
    stereo = [v for v in tone for _ in range(2)]
    write("sound_file", "flac16_mono", sndfile_bytes(0x170000 | 0x02, 48000, 1, tone) + b"\x00")
    write("sound_file", "flac24_stereo", sndfile_bytes(0x170000 | 0x03, 44100, 2, stereo) + b"\x03")
    write("sound_file", "vorbis_stereo", sndfile_bytes(0x200000 | 0x60, 44100, 2, stereo) + b"\x01")
    write("sound_file", "opus_mono", sndfile_bytes(0x200000 | 0x64, 48000, 1, tone) + b"\x02")
    write("sound_file", "mp3_mono", sndfile_bytes(0x230000 | 0x82, 44100, 1, tone) + b"\x00")
    write("sound_file", "rf64_float", sndfile_bytes(0x220000 | 0x06, 22050, 1, tone[:400]) + b"\x01")
    write("sound_file", "wavex_pcm24", sndfile_bytes(0x130000 | 0x03, 96000, 2, stereo[:800]) + b"\x02")


class SfInfo(ctypes.Structure):
    _fields_ = [("frames", ctypes.c_int64), ("samplerate", ctypes.c_int), ("channels", ctypes.c_int),
                ("format", ctypes.c_int), ("sections", ctypes.c_int), ("seekable", ctypes.c_int)]


def sndfile_bytes(sound_format, rate, channels, samples):
    """A whole file in `sound_format` (libsndfile's major and sub format) of the
    interleaved samples, written by libsndfile."""
    library = ctypes.util.find_library("sndfile")
    if not library:
        sys.exit("make_seeds: libsndfile is not installed (libsndfile1)")
    sndfile = ctypes.CDLL(library)
    sndfile.sf_open.restype = ctypes.c_void_p
    sndfile.sf_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(SfInfo)]
    sndfile.sf_writef_float.restype = ctypes.c_int64
    sndfile.sf_writef_float.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_float), ctypes.c_int64]
    sndfile.sf_close.argtypes = [ctypes.c_void_p]
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "seed")
        info = SfInfo(0, rate, channels, sound_format, 0, 0)
        handle = sndfile.sf_open(path.encode(), 0x20, ctypes.byref(info))  # SFM_WRITE
        if not handle:
            sys.exit("make_seeds: libsndfile cannot write format 0x%x" % sound_format)
        frames = len(samples) // channels
        data = (ctypes.c_float * len(samples))(*samples)
        written = sndfile.sf_writef_float(handle, data, frames)
        sndfile.sf_close(handle)
        if written != frames:
            sys.exit("make_seeds: libsndfile wrote %d of %d frames" % (written, frames))
        with open(path, "rb") as f:
            return f.read()


# Settings file ------------------------------------------------------------------------

SETTINGS_KEY = r"[HKEY_LOCAL_MACHINE\Software\Marrowgate\Tiltophon\Settings]"


def settings_input(names, sensitivity, text):
    data = Input()
    for name in names:
        data.string(name)
    data.int32(sensitivity)
    return data.rest(text.encode() if isinstance(text, str) else text).bytes()


def settings_seeds():
    plain = ("REGEDIT4\n\n" + SETTINGS_KEY + "\n"
             '"SoundSlot1Folder"="Drums"\n"SoundSlot1Name"="Kick.wav"\n'
             '"SoundSlot2Folder"="Bells"\n"SoundSlot2Name"="Ding.wav"\n'
             '"SensitivityX"=dword:00000005\n"SensitivityY"=dword:0000000a\n'
             '"SensitivityZ"=dword:ffffffff\n"XButtonClose"=dword:00000001\n'
             '"AnimationsOn"=dword:00000000\n"VibrationsOn"=dword:00000001\n'
             '"PulseVibrationsOn"=dword:00000001\n')
    write("settings_file", "plain",
          settings_input(["Kick.wav", "Snare.wav", "", "Gl\u00f6ckchen.wav", "x"], 7, plain))
    edited = ("\ufeffWindows Registry Editor Version 5.00\r\n\r\n"
              "; kept by hand\r\n"
              r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Shell\Rai\:DEFBROWSER]" "\r\n"
              '"1"="firefox \\"%1\\""\r\n\r\n'
              + SETTINGS_KEY.lower() + "\r\n"
              '@="default"\r\n'
              '"SoundSlot1Name"="Tab\\x09and\\nnewline \\\\ slash"\r\n'
              '"SoundSlot1Name"=dword:1\r\n'
              '"SensitivityX" = dword: 7 \r\n'
              '"Binary"=hex:01,02,\\\r\n  03,04\r\n'
              '"Expand"=hex(2):41,00,00,00\r\n'
              '"Broken"="no end\r\n'
              "[HKEY_LOCAL_MACHINE\\Software\\Marrowgate\\Tiltophon\\Settings\\]\r\n"
              '"SensitivityY"=dword:123456789\r\n')
    write("settings_file", "edited",
          settings_input(["a\\b", "\"quoted\"", "\xff\xfe raw", "", "\x01\x7f"], -1, edited))
    write("settings_file", "junk", settings_input(["", "", "", "", ""], 0, b"\x00\x01[\xff]\n\"=\n"))


# Sound library ------------------------------------------------------------------------

class Library:
    """Mirrors the library target's generator: each call reads as one step."""

    OPS = {"set": 0, "file": 1, "link": 3, "odd_link": 5, "pipe": 6, "folder": 7}
    CONTENT = {"png": 0, "wav": 1, "bytes": 2, "empty": 3}

    def __init__(self, depth, order):
        self.data = Input()
        self.sets = []
        self.made = 0
        self.steps = []
        self.data.integral(0, 3, depth).integral(-1, 4, order)

    def _pick(self, set_name):
        if self.sets:
            self.data.integral(0, len(self.sets) - 1, self.sets.index(set_name))

    def _name(self, name):
        self.data.integral(0, 5, 0).string(name)

    def _picture(self, set_name, kind):
        self.data.integral(0, 5, 2 if kind == "B" else 3)
        self._pick(set_name)
        for _ in "B.png":
            self.data.boolean(False)

    def _wav_name(self, stem, upper=False):
        self.data.integral(0, 5, 4).string(stem)
        for _ in ".wav":
            self.data.boolean(upper)

    def _step(self, op, in_set):
        self._pick(in_set or (self.sets[0] if self.sets else None))
        self.data.boolean(in_set is not None)
        self.data.integral(0, 7, self.OPS[op])

    def add_set(self, name):
        self._step("set", None)
        self._name(name)
        self.sets.append(name)
        self.made += 1
        self.steps.append(None)

    def add_wav(self, set_name, stem, content="wav", upper=False):
        self._step("file", set_name)
        self._wav_name(stem, upper)
        self.data.integral(0, 3, self.CONTENT[content])
        if content == "bytes":
            self.data.string("RIFF....WAVEfmt ")
        self.made += 1

    def add_picture(self, set_name, kind, content="png"):
        self._step("file", set_name)
        self._picture(set_name, kind)
        self.data.integral(0, 3, self.CONTENT[content])
        self.made += 1

    def add_link(self, in_set, target_index, stem):
        self._step("link", in_set)
        self.data.integral(0, self.made - 1, target_index)
        self._wav_name(stem)
        self.made += 1

    def add_odd_link(self, in_set, stem, kind):
        self._step("odd_link", in_set)
        self._wav_name(stem)
        self.data.integral(0, 2, kind)
        self.made += 1

    def add_pipe(self, in_set, stem):
        self._step("pipe", in_set)
        self._wav_name(stem)
        self.made += 1

    def add_folder(self, in_set, stem):
        self._step("folder", in_set)
        self._wav_name(stem)
        self.made += 1

    def finish(self, steps):
        # The step count is read right after the order, before every step.
        data = Input()
        data.front = self.data.front
        data.back = self.data.back[:2] + [steps] + self.data.back[2:]
        return data.bytes()


def library_seeds():
    lib = Library(depth=0, order=0)
    lib.add_set("Drums")
    lib.add_wav("Drums", "Kick")
    lib.add_wav("Drums", "SNARE", upper=True)
    lib.add_picture("Drums", "B")
    lib.add_picture("Drums", "S")
    lib.add_set("Bells")
    lib.add_wav("Bells", "Ding", content="bytes")
    write("sound_library", "two_sets", lib.finish(7))

    lib = Library(depth=1, order=3)
    lib.add_set("Synth")
    lib.add_wav("Synth", "Pad", content="empty")
    lib.add_link(None, 0, "Linked")          # a second name for the whole set
    lib.add_odd_link("Synth", "gone", 0)      # dangling
    lib.add_odd_link("Synth", "loop", 1)      # to itself
    lib.add_pipe("Synth", "pipe")
    lib.add_folder("Synth", "folder")
    write("sound_library", "links_and_pipes", lib.finish(7))

    lib = Library(depth=3, order=2)
    lib.add_set("Voices")
    lib.add_wav("Voices", "x" * 120)
    lib.add_picture("Voices", "B", content="bytes")
    write("sound_library", "deep", lib.finish(3))


# Text ---------------------------------------------------------------------------------

def text_input(font, width, height, rect, format_flags, colour, units):
    data = Input()
    data.integral(0, 5, font).integral(0, 64, width).integral(0, 48, height)
    for value in rect:
        if -80 <= value <= 80:
            data.integral(0, 3, 1).integral(-80, 80, value)
        else:
            data.integral(0, 3, 0).int32(value)
    data.uint32(format_flags).uint32(colour)
    for unit in units:
        data.uint16(unit)
    return data.bytes()


def utf16_units(text):
    raw = text.encode("utf-16-le", "surrogatepass")
    return list(struct.unpack("<%dH" % (len(raw) // 2), raw))


def text_seeds():
    write("draw_text", "caption", text_input(0, 64, 24, (2, 2, 60, 22), 0x8024, 0xFFFFFF,
                                             utf16_units("Kick.wav")))
    write("draw_text", "centred_ellipsis",
          text_input(3, 40, 30, (-10, 0, 30, 30), 0x8025, 0x00FF00,
                     utf16_units("Gl\u00f6ckchen \u266a \U0001F941 long name")))
    write("draw_text", "lone_surrogates",
          text_input(2, 32, 16, (0, -4, 32, 12), 0x802A, 0x0000FF,
                     [0xD800, 0x41, 0xDC80, 0xDBFF, 0, 0x42]))
    write("draw_text", "huge_rect",
          text_input(1, 16, 16, (-(1 << 31), -(1 << 31), (1 << 31) - 1, (1 << 31) - 1), 0x25,
                     0x808080, utf16_units("abc")))


# Motion -------------------------------------------------------------------------------

def motion_input(steps):
    data = Input()
    for step in steps:
        axis, op = step[0], step[1]
        data.integral(0, 2, axis).integral(0, 15, op)
        for value in step[2:]:
            data.int16(value) if op != 2 else data.int32(value)
    return data.bytes()


def sample(axis, x, y, z):
    return (axis, 6, x, y, z)


def motion_seeds():
    start = [(a, 1, 0, 0, -1000) for a in range(3)]
    swing_x = [sample(0, x, 0, -500) for x in (0, 150, 900, 800, 50, -150, -900, -800, 0)]
    write("motion_detectors", "x_swings", motion_input(start + swing_x))
    swing_z = [sample(2, 0, 0, z) for z in (-1000, -1500, -1900, -1850, -1000, 1500, 1900, 1850)]
    write("motion_detectors", "z_swings", motion_input(start + swing_z))
    # Stopped while spent and started again; thresholds changed in the middle.
    spent = ([sample(1, 0, y, -500) for y in (150, 900, 800)] + [(1, 0), (1, 1, 0, 800, -500)] +
             [sample(1, 0, y, -500) for y in (950, 800)] + [(1, 2, 10), (1, 3, 900)] +
             [sample(1, 0, y, -500) for y in (850, -32768, 32767, 100)])
    write("motion_detectors", "y_spent_and_resumed", motion_input(start + spent))


# Screens ------------------------------------------------------------------------------

def screens_seeds():
    # Touch sessions are any bytes; a few fixed pseudo-random ones of some length get
    # the fuzzer past the first page at once.
    generator = random.Random(20061)
    for index in range(4):
        write("screens", "session%d" % index, bytes(generator.randrange(256) for _ in range(400)))


# Input-event streams -------------------------------------------------------------------

EV_SYN, EV_ABS, EV_MSC = 0, 3, 4
SYN_REPORT, SYN_DROPPED = 0, 3
ABS_X, ABS_Y, ABS_Z, ABS_RX, ABS_RY, ABS_RZ = 0, 1, 2, 3, 4, 5


def input_event(kind, code, value, usec=0):
    # struct input_event on 64-bit Linux: struct timeval, type, code, value.
    return struct.pack("<qqHHi", usec // 1000000, usec % 1000000, kind, code, value)


def abs_report(values, usec=0):
    events = b"".join(input_event(EV_ABS, code, value, usec) for code, value in values)
    return events + input_event(EV_SYN, SYN_REPORT, 0, usec)


def stream_input(driver, axes, seed, events):
    header = bytes([driver])
    for value, low, high, resolution in axes:
        header += struct.pack("<iiii", value, low, high, resolution)
    return header + bytes([seed]) + events


def event_stream_seeds():
    # The first driver of the table (hid-playstation): 8192 per g, flat, buttons up.
    dualsense = [(0, -32768, 32768, 8192), (8192, -32768, 32768, 8192), (0, -32768, 32768, 8192)]
    swing = b"".join(abs_report([(ABS_X, -x), (ABS_Y, 8192), (ABS_RX, x // 3)], 4000 * i)
                     for i, x in enumerate([0, 2000, 6000, 8000, 6000, 2000, 0]))
    write("event_stream", "dualsense_swing", stream_input(0, dualsense, 7, swing))
    dropped = (abs_report([(ABS_X, 100)]) + input_event(EV_ABS, ABS_Y, 50) +
               input_event(EV_SYN, SYN_DROPPED, 0) + input_event(EV_ABS, ABS_Z, 9) +
               abs_report([(ABS_Z, 4096)]) + abs_report([(ABS_Y, 300)]))
    write("event_stream", "dropped_mid_report", stream_input(0, dualsense, 1, dropped))
    # The Wii remote (no resolution, rotational axes) and a stream cut mid-event.
    wiimote = [(0, -500, 500, 0), (0, -500, 500, 0), (100, -500, 500, 0)]
    cut = abs_report([(ABS_RX, 40), (ABS_RZ, 120)]) + input_event(EV_MSC, 5, 1)[:13]
    write("event_stream", "wiimote_cut", stream_input(3, wiimote, 200, cut))
    # A driver the table does not know, with a broken range.
    broken = [(0, 5, 5, 0), (0, -1, 1, 0), (0, 0, 0, 0)]
    write("event_stream", "broken_range", stream_input(200, broken, 3, abs_report([(ABS_X, 1)])))


if __name__ == "__main__":
    png_seeds()
    sound_file_seeds()
    settings_seeds()
    library_seeds()
    text_seeds()
    motion_seeds()
    screens_seeds()
    event_stream_seeds()
