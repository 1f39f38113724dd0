// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the benchmarks that time a swing until it is heard share.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tiltophon {

// Processes that keep a core busy, as a compile next to the program does; killed
// when the object goes.
class BusyProcesses {
public:
    explicit BusyProcesses(int count) {
        for (int i = 0; i < count; ++i) {
            pid_t child = ::fork();
            if (child == 0) {
                volatile uint64_t spin = 0;
                for (;;) spin = spin + 1;
            }
            if (child > 0) children_.push_back(child);
        }
    }
    ~BusyProcesses() {
        for (pid_t child : children_) ::kill(child, SIGKILL);
        for (pid_t child : children_) ::waitpid(child, nullptr, 0);
    }
    int running() const { return int(children_.size()); }

private:
    std::vector<pid_t> children_;
};

struct Percentiles {
    double p50 = 0, p99 = 0, max = 0;
};

inline Percentiles percentiles(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) {
        return ms[std::min(ms.size() - 1, std::size_t(q * double(ms.size())))];
    };
    return ms.empty() ? Percentiles{} : Percentiles{at(0.50), at(0.99), ms.back()};
}

}  // namespace tiltophon
