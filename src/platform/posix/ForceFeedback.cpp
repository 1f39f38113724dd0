// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/ForceFeedback.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace tiltophon {

namespace {

constexpr size_t kBitsPerLong = sizeof(long) * CHAR_BIT;

bool has_bit(const unsigned long* bits, unsigned bit) {
    return (bits[bit / kBitsPerLong] >> (bit % kBitsPerLong)) & 1UL;
}

class EvdevForceFeedback : public ForceFeedbackDevice {
public:
    EvdevForceFeedback(int fd, bool rumble) : fd_(fd), rumble_(rumble) {}
    ~EvdevForceFeedback() override { ::close(fd_); }

    int upload(uint32_t duration_ms) override {
        ff_effect effect{};
        effect.id = -1;
        effect.replay.length = static_cast<uint16_t>(std::min<uint32_t>(duration_ms, 0xFFFF));
        if (rumble_) {
            effect.type = FF_RUMBLE;
            effect.u.rumble.strong_magnitude = 0xFFFF;
            effect.u.rumble.weak_magnitude = 0xFFFF;
        } else {
            effect.type = FF_PERIODIC;
            effect.u.periodic.waveform = FF_SINE;
            effect.u.periodic.period = 10;
            effect.u.periodic.magnitude = 0x7FFF;
        }
        if (::ioctl(fd_, EVIOCSFF, &effect) != 0) return -1;
        return effect.id;
    }

    bool play(int effect) override {
        input_event event{};
        event.type = EV_FF;
        event.code = static_cast<uint16_t>(effect);
        event.value = 1;
        return ::write(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
    }

    void erase(int effect) override { ::ioctl(fd_, EVIOCRMFF, effect); }

private:
    int fd_;
    bool rumble_;
};

}  // namespace

std::unique_ptr<ForceFeedbackDevice> open_force_feedback(const std::string& path) {
    // Never waits: a device that is going away must not hold up the haptics thread.
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    unsigned long features[(FF_MAX + kBitsPerLong) / kBitsPerLong] = {};
    bool known = ::ioctl(fd, EVIOCGBIT(EV_FF, sizeof features), features) >= 0;
    if (!known || (!has_bit(features, FF_RUMBLE) && !has_bit(features, FF_PERIODIC))) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<EvdevForceFeedback>(fd, has_bit(features, FF_RUMBLE));
}

}  // namespace tiltophon
