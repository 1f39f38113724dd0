// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/QuitSignals.h"

#include <pthread.h>
#include <signal.h>

#include <mutex>
#include <thread>

namespace tiltophon {

namespace {

sigset_t signal_set(std::initializer_list<int> numbers) {
    sigset_t set;
    sigemptyset(&set);
    for (int number : numbers) sigaddset(&set, number);
    return set;
}

const sigset_t kQuitSignals = signal_set({SIGINT, SIGTERM});

// The signal as it would have come without us: the program ends.
void end_by_default(int number) {
    ::signal(number, SIG_DFL);
    const sigset_t one = signal_set({number});
    ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(number);
}

}  // namespace

struct QuitSignals::Shared {
    std::mutex mutex;
    std::function<void()> on_signal;
};

QuitSignals::QuitSignals(std::function<void()> on_signal) : shared_(std::make_shared<Shared>()) {
    shared_->on_signal = std::move(on_signal);
    ::pthread_sigmask(SIG_BLOCK, &kQuitSignals, nullptr);
    // Never joined: sigwait cannot be told to stop. Once this object is gone the
    // thread ends the program on the next signal.
    std::thread([shared = shared_] {
        for (;;) {
            int number = 0;
            if (::sigwait(&kQuitSignals, &number) != 0) continue;
            std::lock_guard lock(shared->mutex);
            if (shared->on_signal) {
                shared->on_signal();
            } else {
                end_by_default(number);
            }
        }
    }).detach();
}

QuitSignals::~QuitSignals() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->on_signal = nullptr;
    }
    // A signal that came meanwhile is delivered here, and ends the program.
    ::pthread_sigmask(SIG_UNBLOCK, &kQuitSignals, nullptr);
}

}  // namespace tiltophon
