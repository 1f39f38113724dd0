// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "LineSplitter.h"
#include "SensorSource.h"

namespace tiltophon::sensor {

// Readings written as "x y z" lines into a named pipe by another program (a test
// driver, a remote sensor bridge, the swing tool). Every read takes whatever has
// arrived without waiting; the last complete line wins and stays until a newer one
// comes. The pipe is created when it does not exist yet, and opened again on the next
// read when it could not be opened; a writer may close it and come back at any time.
class FifoSource : public SensorSource {
public:
    // How much one read takes from the pipe at most, so a fast writer cannot hold
    // the reader; the rest waits for the next read.
    static constexpr size_t kMaxBytesPerRead = 64 * 1024;

    explicit FifoSource(std::string path);
    ~FifoSource() override;
    FifoSource(const FifoSource&) = delete;
    FifoSource& operator=(const FifoSource&) = delete;

    Reading read() override;

private:
    bool ensure_open();
    void close_pipe();

    std::string path_;
    int fd_ = -1;
    LineSplitter lines_;
    Reading last_{};
};

}  // namespace tiltophon::sensor
