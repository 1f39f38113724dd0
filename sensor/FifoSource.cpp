// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FifoSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tiltophon::sensor {

FifoSource::FifoSource(std::string path) : path_(std::move(path)) {
    ensure_open();
}

FifoSource::~FifoSource() {
    close_pipe();
}

bool FifoSource::ensure_open() {
    if (fd_ >= 0) return true;
    // Whoever comes first makes the pipe; the other finds it there.
    if (mkfifo(path_.c_str(), 0600) != 0 && errno != EEXIST) return false;
    fd_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    struct stat info {};
    // Anything but a pipe (a regular file, a device) is not read at all.
    if (fstat(fd_, &info) != 0 || !S_ISFIFO(info.st_mode)) {
        close_pipe();
        return false;
    }
    return true;
}

void FifoSource::close_pipe() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    lines_.drop_partial();
}

Reading FifoSource::read() {
    if (!ensure_open()) return last_;
    auto take = [this](std::string_view line) {
        if (auto reading = parse_reading_line(line)) last_ = *reading;
    };
    char buffer[4096];
    size_t taken = 0;
    while (taken < kMaxBytesPerRead) {
        ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count > 0) {
            taken += static_cast<size_t>(count);
            lines_.feed(std::string_view(buffer, static_cast<size_t>(count)), take);
            continue;
        }
        if (count == 0) {
            // No writer at the moment. A line it left unfinished is not a reading;
            // the pipe stays open for the next writer.
            lines_.drop_partial();
            break;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) close_pipe();
        break;
    }
    return last_;
}

}  // namespace tiltophon::sensor
