// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Pictures come from the skin folder and from every sound set, so any file may claim
// to be a PNG. Decoding must either refuse it or give an opaque bitmap of a size the
// codec accepts.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

#include "Require.h"
#include "platform/Text.h"
#include "platform/media/PngImageCodec.h"

using namespace tiltophon;
using tiltophon::fuzz::require;

namespace {

// The input as a file in memory, opened again by its /proc name as any path would be.
class MemoryFile {
public:
    MemoryFile() : fd_(::memfd_create("png", MFD_CLOEXEC)) {}
    ~MemoryFile() { ::close(fd_); }

    bool hold(const uint8_t* data, size_t size) {
        if (fd_ < 0 || ::ftruncate(fd_, 0) != 0) return false;
        for (size_t done = 0; done < size;) {
            ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    std::u16string path() const { return utf16_from_utf8("/proc/self/fd/" + std::to_string(fd_)); }

private:
    int fd_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    static PngImageCodec codec;
    if (!file.hold(data, size)) return 0;
    std::unique_ptr<Bitmap> bitmap = codec.load_png(file.path());
    if (!bitmap) return 0;
    require(PngImageCodec::acceptable_size(static_cast<uint32_t>(bitmap->width()),
                                           static_cast<uint32_t>(bitmap->height())),
            "a decoded image has an accepted size");
    const size_t count = static_cast<size_t>(bitmap->width()) * bitmap->height();
    for (size_t i = 0; i < count; ++i) {
        require((bitmap->data()[i] >> 24) == 0xFF, "every decoded pixel is opaque");
    }
    return 0;
}
