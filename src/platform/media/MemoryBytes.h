// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tiltophon {

// A sound file's bytes read like a file, for decoders that take reading functions.
struct MemoryBytes {
    const std::vector<uint8_t>& bytes;
    int64_t position = 0;

    int64_t size() const { return int64_t(bytes.size()); }
    // Up to `count` bytes into `out`; 0 at the end.
    int64_t read(void* out, int64_t count) {
        int64_t take = count < size() - position ? count : size() - position;
        if (take <= 0) return 0;
        std::memcpy(out, bytes.data() + position, std::size_t(take));
        position += take;
        return take;
    }
    // As lseek does, without going past either end: the new position, or -1.
    int64_t seek(int64_t offset, int whence) {
        int64_t base = whence == SEEK_CUR ? position : whence == SEEK_END ? size() : 0;
        int64_t target = base + offset;
        if (target < 0 || target > size()) return -1;
        position = target;
        return target;
    }
};

}  // namespace tiltophon
