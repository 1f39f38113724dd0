// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>

namespace tiltophon {

// SIGINT and SIGTERM, taken by a thread of their own that waits for them. A signal
// handler can only set a flag, and a flag set just as the main loop goes to sleep is
// seen at the next event, which may never come: the program would run on, and its
// settings would be lost to the SIGKILL that follows. A thread can wake the loop as
// any other thread does.
class QuitSignals {
public:
    // Blocks both signals in the calling thread and in every thread started after it,
    // so make it before any other thread exists. `on_signal` runs on the signal thread.
    explicit QuitSignals(std::function<void()> on_signal);
    // From here on the signals end the program, as they would without this.
    ~QuitSignals();

    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace tiltophon
