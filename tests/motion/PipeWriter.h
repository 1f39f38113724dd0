// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace tiltophon {

// The write end of a named pipe, as another program would hold it. Opening fails
// (ok() false) while nobody reads the pipe.
class PipeWriter {
public:
    explicit PipeWriter(const std::string& path)
        : fd_(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~PipeWriter() { close(); }
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

    bool ok() const { return fd_ >= 0; }
    void write(const std::string& text) {
        ASSERT_EQ(::write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

}  // namespace tiltophon
