// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Whatever an input-event device (or a file or pipe named in its place) hands the
// sensor library, read in pieces of any size: the axes change only when a report ends
// or after a loss is made good, the pieces' sizes change nothing, and every reading is
// defined, whatever ranges and resolutions the device claims.
//
// Input: one byte picking the driver, the three axes' absinfo (value, minimum, maximum,
// resolution as little-endian 32-bit numbers), one byte seeding the piece sizes, then
// the bytes of the event stream (struct input_event after struct input_event).

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

#include "Require.h"
#include "sensor/EvdevDevice.h"
#include "sensor/EvdevFrame.h"
#include "sensor/EventStream.h"

using namespace tiltophon::sensor;
using tiltophon::fuzz::require;

namespace {

constexpr size_t kHeader = 1 + 3 * 16 + 1;

int32_t int32_at(const uint8_t* data) {
    uint32_t value = uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 |
                     uint32_t{data[3]} << 24;
    int32_t signed_value;
    std::memcpy(&signed_value, &value, sizeof value);
    return signed_value;
}

const DriverFrame& pick_frame(uint8_t byte) {
    auto known = known_driver_frames();
    if (byte < known.size()) return known[byte];
    return driver_frame("any other driver");
}

// Feeds the stream whole, one event at a time through take(), and in pieces.
void check_stream(const std::array<uint16_t, 3>& codes, const std::array<int32_t, 3>& start,
                  std::span<const std::byte> bytes, uint8_t seed, const EvdevScale* scale) {
    EventStream whole(codes, start);
    whole.feed(bytes);

    EventStream pieces(codes, start);
    uint32_t state = seed * 2654435761u + 1;
    for (size_t at = 0; at < bytes.size();) {
        state = state * 1103515245u + 12345u;
        size_t size = std::min<size_t>(1 + (state >> 16) % 61, bytes.size() - at);
        pieces.feed(bytes.subspan(at, size));
        at += size;
    }
    require(pieces.axes() == whole.axes(), "the pieces' sizes change nothing");
    require(pieces.reports() == whole.reports(), "every report counts once");
    require(pieces.needs_resync() == whole.needs_resync(), "a loss is seen either way");

    EventStream stepped(codes, start);
    for (size_t at = 0; at + sizeof(input_event) <= bytes.size(); at += sizeof(input_event)) {
        input_event event;
        std::memcpy(&event, bytes.data() + at, sizeof event);
        std::array<int32_t, 3> before = stepped.axes();
        bool was_waiting = stepped.needs_resync();
        stepped.take(event);
        bool report_end = event.type == EV_SYN && event.code == SYN_REPORT;
        require(report_end || stepped.axes() == before, "axes change only when a report ends");
        if (stepped.needs_resync() && !was_waiting) {
            require(stepped.axes() == before, "the report after a loss counts for nothing");
        }
        if (scale) scale->convert(stepped.axes());
        if (stepped.needs_resync()) stepped.resync({std::nullopt, std::nullopt, std::nullopt});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    const DriverFrame& frame = pick_frame(data[0]);
    std::array<AxisRange, 3> axes{};
    for (int i = 0; i < 3; ++i) {
        const uint8_t* at = data + 1 + 16 * i;
        axes[i] = {int32_at(at), int32_at(at + 4), int32_at(at + 8), int32_at(at + 12)};
    }
    uint8_t seed = data[kHeader - 1];
    auto bytes = std::as_bytes(std::span(data + kHeader, size - kHeader));

    std::optional<EvdevScale> scale = EvdevScale::make(frame, axes);
    std::array<int32_t, 3> start{axes[0].value, axes[1].value, axes[2].value};
    check_stream(accelerometer_codes(frame), start, bytes, seed, scale ? &*scale : nullptr);
    return 0;
}
