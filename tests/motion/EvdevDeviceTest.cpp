// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstddef>
#include <vector>

#include "motion/InputEvents.h"
#include "motion/TempFolder.h"
#include "sensor/EvdevDevice.h"
#include "sensor/EventStream.h"

namespace tiltophon::sensor {

void PrintTo(const Reading& r, std::ostream* out);

namespace {

using evdev_test::event;
using evdev_test::EventPipe;
using evdev_test::report;

constexpr int32_t kG = 8192;  // a DualSense's units per g

// A DualSense's motion sensors on a pipe; `values` answers the axis requests.
struct FakeDualSense {
    FakeDualSense() {
        device = EvdevDevice::open(pipe.take_reader(), driver_frame("playstation"),
                                   [this](uint16_t code) -> std::optional<AxisRange> {
                                       if (code > ABS_Z) return std::nullopt;
                                       return AxisRange{values[code], -4 * kG, 4 * kG, kG};
                                   });
    }
    std::array<int32_t, 3> values{0, kG, 0};  // lying flat, buttons up
    EventPipe pipe;
    std::unique_ptr<EvdevDevice> device;
};

TEST(EventStreamTest, ValuesCountOnlyOnceTheirReportIsComplete) {
    EventStream stream({ABS_X, ABS_Y, ABS_Z}, {1, 2, 3});
    std::vector<input_event> events = {event(EV_ABS, ABS_X, 10), event(EV_ABS, ABS_RX, 99),
                                       event(EV_MSC, MSC_TIMESTAMP, 5), event(EV_ABS, ABS_Z, 30)};
    auto bytes = std::as_bytes(std::span(events));
    // Cut anywhere, even inside an event.
    stream.feed(bytes.subspan(0, 7));
    stream.feed(bytes.subspan(7, 40));
    stream.feed(bytes.subspan(47));
    EXPECT_EQ(stream.axes(), (std::array<int32_t, 3>{1, 2, 3}));  // no SYN_REPORT yet
    stream.take(event(EV_SYN, SYN_REPORT, 0));
    EXPECT_EQ(stream.axes(), (std::array<int32_t, 3>{10, 2, 30}));
    EXPECT_EQ(stream.reports(), 1u);

    // A lone SYN_REPORT changes nothing; an axis the stream does not follow neither.
    stream.take(event(EV_SYN, SYN_REPORT, 0));
    stream.take(event(EV_ABS, ABS_RY, 7));
    stream.take(event(EV_SYN, SYN_REPORT, 0));
    EXPECT_EQ(stream.axes(), (std::array<int32_t, 3>{10, 2, 30}));
}

TEST(EventStreamTest, AfterDroppedEventsEverythingWaitsForTheNextReportAndARefetch) {
    EventStream stream({ABS_X, ABS_Y, ABS_Z});
    stream.take(event(EV_ABS, ABS_X, 500));
    stream.take(event(EV_SYN, SYN_DROPPED, 0));
    stream.take(event(EV_ABS, ABS_Y, 600));
    stream.take(event(EV_SYN, SYN_REPORT, 0));  // ends the broken report
    EXPECT_TRUE(stream.needs_resync());
    EXPECT_EQ(stream.axes(), (std::array<int32_t, 3>{0, 0, 0}));
    stream.resync({7, std::nullopt, 9});
    EXPECT_FALSE(stream.needs_resync());
    EXPECT_EQ(stream.axes(), (std::array<int32_t, 3>{7, 0, 9}));
    for (const input_event& e : report({{ABS_Y, 11}})) stream.take(e);
    EXPECT_EQ(stream.axes(), (std::array<int32_t, 3>{7, 11, 9}));
}

TEST(EvdevDeviceTest, AControllerAtRestAndSwungEachWayThroughAPipe) {
    FakeDualSense pad;
    ASSERT_TRUE(pad.device);
    // Before any report: the state the device was asked for.
    EXPECT_EQ(pad.device->reading(), (Reading{0, 0, -1000}));

    struct Case {
        const char* name;
        std::vector<std::pair<uint16_t, int32_t>> axes;
        Reading expected;
    };
    const Case cases[] = {
        {"rest", {{ABS_X, 0}, {ABS_Y, kG}, {ABS_Z, 0}}, {0, 0, -1000}},
        {"right", {{ABS_X, -kG}, {ABS_Y, kG}}, {1000, 0, -1000}},
        {"left", {{ABS_X, kG / 2}}, {-500, 0, -1000}},
        {"forward", {{ABS_X, 0}, {ABS_Z, kG}}, {0, -1000, -1000}},
        {"back", {{ABS_Z, -kG / 4}}, {0, 250, -1000}},
        {"up", {{ABS_Z, 0}, {ABS_Y, 2 * kG}}, {0, 0, -2000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pad.pipe.write(report(c.axes));
        EXPECT_TRUE(pad.device->pump());
        EXPECT_EQ(pad.device->reading(), c.expected);
    }

    // Half a report: the reading stays with the last whole one.
    pad.pipe.write({event(EV_ABS, ABS_X, -kG)});
    EXPECT_TRUE(pad.device->pump());
    EXPECT_EQ(pad.device->reading(), (Reading{0, 0, -2000}));
    pad.pipe.write({event(EV_SYN, SYN_REPORT, 0)});
    EXPECT_TRUE(pad.device->pump());
    EXPECT_EQ(pad.device->reading(), (Reading{1000, 0, -2000}));
}

TEST(EvdevDeviceTest, DroppedEventsAreReplacedByTheDevicesCurrentState) {
    FakeDualSense pad;
    ASSERT_TRUE(pad.device);
    pad.pipe.write(report({{ABS_X, -kG}}));
    pad.values = {kG / 2, kG, 0};  // where the device is after the loss
    std::vector<input_event> broken = {event(EV_ABS, ABS_X, 123), event(EV_SYN, SYN_DROPPED, 0),
                                       event(EV_ABS, ABS_Z, 4567), event(EV_SYN, SYN_REPORT, 0)};
    pad.pipe.write(broken);
    EXPECT_TRUE(pad.device->pump());
    EXPECT_EQ(pad.device->reading(), (Reading{-500, 0, -1000}));
}

TEST(EvdevDeviceTest, ADeviceThatEndsOrFailsIsGoneForGood) {
    FakeDualSense pad;
    ASSERT_TRUE(pad.device);
    pad.pipe.write(report({{ABS_X, -kG}}));
    pad.pipe.close_writer();  // the end of the stream, as after an unplug
    EXPECT_FALSE(pad.device->pump());
    EXPECT_FALSE(pad.device->pump());

    // A descriptor whose reads fail (here EISDIR, on a real device ENODEV).
    TempFolder folder;
    int fd = open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    auto broken = EvdevDevice::open(fd, driver_frame("playstation"), [](uint16_t) {
        return std::optional<AxisRange>(AxisRange{0, -kG, kG, kG});
    });
    ASSERT_TRUE(broken);
    EXPECT_FALSE(broken->pump());
}

TEST(EvdevDeviceTest, AFloodingDeviceNeverHoldsTheReader) {
    FakeDualSense pad;
    ASSERT_TRUE(pad.device);
    int writer = pad.pipe.writer();
    ASSERT_GT(fcntl(writer, F_SETPIPE_SZ, 1 << 20), 0);
    ASSERT_EQ(fcntl(writer, F_SETFL, O_NONBLOCK), 0);
    std::vector<input_event> reports;
    for (int i = 0; i < 1000; ++i) {
        auto one = report({{ABS_X, -kG}, {ABS_RX, i}, {ABS_RY, -i}});
        reports.insert(reports.end(), one.begin(), one.end());
    }
    auto bytes = std::as_bytes(std::span(reports));
    size_t written = 0;
    while (true) {
        ssize_t count = write(writer, bytes.data(), bytes.size());
        if (count <= 0) break;
        written += static_cast<size_t>(count);
    }
    ASSERT_GT(written, EvdevDevice::kMaxBytesPerPump);

    EXPECT_TRUE(pad.device->pump());
    EXPECT_EQ(pad.device->reading(), (Reading{1000, 0, -1000}));
    int left = 0;
    ASSERT_EQ(ioctl(writer, FIONREAD, &left), 0);
    EXPECT_GT(left, 0) << "one read took everything";
}

TEST(EvdevScaleTest, ResolutionsFallbacksAndBrokenRanges) {
    const AxisRange none{0, 0, 0, 0};
    // A known driver without a resolution has its own (lis3lv02d: mg).
    auto lis3 = EvdevScale::make(driver_frame("lis3lv02d"), {none, none, none});
    ASSERT_TRUE(lis3);
    EXPECT_EQ(lis3->convert({250, -500, 1000}), (Reading{250, -500, -1000}));
    EXPECT_EQ(&driver_frame("hid-playstation"), &driver_frame("playstation"));
    EXPECT_EQ(&driver_frame("lis3lv02d_i2c"), &driver_frame("lis3lv02d"));
    EXPECT_NE(&driver_frame("sonyx"), &driver_frame("sony"));

    // An unknown driver without a resolution: its range is taken as -2 g..2 g.
    const AxisRange range{0, -1000, 1000, 0};
    auto other = EvdevScale::make(driver_frame("hid-steam"), {range, range, range});
    ASSERT_TRUE(other);
    EXPECT_EQ(other->convert({0, 0, 500}), (Reading{0, 0, -1000}));
    // ... and without a range either, it cannot be read.
    EXPECT_FALSE(EvdevScale::make(driver_frame("hid-steam"), {range, none, range}));

    // Values far outside any range are clamped, not wrapped.
    const AxisRange tiny{0, -1, 1, 1};
    auto wild = EvdevScale::make(driver_frame("hid-steam"), {tiny, tiny, tiny});
    ASSERT_TRUE(wild);
    EXPECT_EQ(wild->convert({INT32_MIN, INT32_MAX, 0}), (Reading{32767, 32767, 0}));

    // A device whose axis requests fail is not opened at all.
    EventPipe pipe;
    EXPECT_FALSE(EvdevDevice::open(pipe.take_reader(), driver_frame("playstation"),
                                   [](uint16_t) { return std::optional<AxisRange>(); }));
}

}  // namespace
}  // namespace tiltophon::sensor
