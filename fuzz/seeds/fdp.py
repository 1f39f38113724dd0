# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes inputs for the fuzz targets in the order their FuzzedDataProvider reads them.

Integers are read from the end of the input and strings from the front, so the two
are kept apart and joined at the end.
"""


class Input:
    def __init__(self):
        self.front = bytearray()
        self.back = []  # bytes in the order they are read

    def integral(self, low, high, value):
        assert low <= value <= high
        span = high - low
        offset = value - low
        count = 0
        while count < 8 and (span >> (8 * count)) > 0:
            count += 1
        for shift in reversed(range(count)):
            self.back.append((offset >> (8 * shift)) & 0xFF)
        return self

    def int16(self, value):
        return self.integral(-32768, 32767, value)

    def int32(self, value):
        return self.integral(-(1 << 31), (1 << 31) - 1, value)

    def uint16(self, value):
        return self.integral(0, 0xFFFF, value)

    def uint32(self, value):
        return self.integral(0, 0xFFFFFFFF, value)

    def boolean(self, value):
        return self.integral(0, 255, 1 if value else 0)

    def string(self, text):
        """A random-length string: backslashes doubled, ended by a lone backslash."""
        data = text if isinstance(text, bytes) else text.encode()
        self.front += data.replace(b"\\", b"\\\\") + b"\\x"
        return self

    def rest(self, data):
        """What the target takes as the remaining bytes."""
        self.middle = bytes(data)
        return self

    def bytes(self):
        return bytes(self.front) + getattr(self, "middle", b"") + bytes(reversed(self.back))
