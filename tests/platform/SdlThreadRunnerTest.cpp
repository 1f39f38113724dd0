// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "platform/sdl/SdlDevices.h"

namespace tiltophon {
namespace {

// Lets routines wait until the test opens it.
class Gate {
public:
    void wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return open_; });
    }
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

// Counts routines that have finished, and lets the test wait for a number of them.
class Finished {
public:
    // Notifies under the lock: a detached thread must be done with the object once
    // a waiter has seen its count.
    void add(std::thread::id thread) {
        std::lock_guard lock(mutex_);
        threads_.insert(thread);
        ++count_;
        changed_.notify_all();
    }
    void wait_for(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return count_ >= count; });
    }
    std::size_t distinct_threads() {
        std::lock_guard lock(mutex_);
        return threads_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<std::thread::id> threads_;
    int count_ = 0;
};

TEST(SdlThreadRunnerThreads, RoutinesRunOnTheStartedThreadsOneAfterAnother) {
    SdlThreadRunner runner(2);
    Finished finished;
    for (int i = 0; i < 50; ++i) {
        while (runner.idle_threads() < 2) std::this_thread::yield();
        runner.start_detached([&] { finished.add(std::this_thread::get_id()); });
        finished.wait_for(i + 1);
    }
    EXPECT_LE(finished.distinct_threads(), 2u) << "no thread was made for them";
}

// A routine never waits for another: with every pooled thread held up (a pulse, the
// loader), the next one gets a thread of its own.
TEST(SdlThreadRunnerThreads, BusyPooledThreadsNeverHoldARoutineBack) {
    Gate gate;
    Finished finished;
    {
        SdlThreadRunner runner(2);
        for (int i = 0; i < 4; ++i) {
            runner.start_detached([&] {
                gate.wait();
                finished.add(std::this_thread::get_id());
            });
        }
        // Runs while all four above wait.
        std::atomic<bool> ran{false};
        runner.start_detached([&] { ran = true; });
        while (!ran) std::this_thread::yield();
        gate.open();
        finished.wait_for(4);
    }
}

// Long work, such as copying a dropped file, leaves the pooled threads to the sounds.
TEST(SdlThreadRunnerThreads, BackgroundWorkNeverTakesAPooledThread) {
    Gate gate;
    Finished finished;
    {
        SdlThreadRunner runner(2);
        while (runner.idle_threads() < 2) std::this_thread::yield();
        std::atomic<bool> running{false};
        runner.start_background([&] {
            running = true;
            gate.wait();
            finished.add(std::this_thread::get_id());
        });
        while (!running) std::this_thread::yield();
        EXPECT_EQ(runner.idle_threads(), 2);
        gate.open();
        finished.wait_for(1);
    }
}

}  // namespace
}  // namespace tiltophon
