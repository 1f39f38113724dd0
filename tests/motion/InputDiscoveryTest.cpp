// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "motion/InputEvents.h"
#include "motion/TempFolder.h"
#include "sensor/AccelerometerList.h"
#include "sensor/EvdevSource.h"
#include "sensor/IioSource.h"
#include "sensor/InputDevices.h"
#include "sensor/SourceConfig.h"

namespace tiltophon::sensor {

void PrintTo(const Reading& r, std::ostream* out);

namespace {

namespace fs = std::filesystem;
using evdev_test::EventPipe;
using evdev_test::report;

// A fake /sys/class/input and /dev/input, laid out as the kernel lays them out: each
// eventN's "device" is the input device, whose "device" is the device it belongs to.
class FakeInputTree {
public:
    FakeInputTree() {
        roots.sys_class_input = folder.file("sys/class/input");
        roots.dev_input = folder.file("dev/input");
        fs::create_directories(roots.sys_class_input);
        fs::create_directories(roots.dev_input);
    }

    struct Device {
        std::string event;
        std::string name;
        std::string properties = "0";
        std::string abs = "0";
        std::string key = "0";
        std::string driver;          // bound driver of the parent device
        std::string parent = "hid";  // the parent device's own name
    };

    void add(const Device& d) {
        std::string input = "sys/devices/" + d.parent + "/input/" + d.event;
        folder.write(input + "/device/name", d.name + "\n");
        folder.write(input + "/device/properties", d.properties + "\n");
        folder.write(input + "/device/capabilities/abs", d.abs + "\n");
        folder.write(input + "/device/capabilities/key", d.key + "\n");
        fs::path parent = folder.path() / "sys/devices" / d.parent;
        std::error_code exists;  // a device plugged in again finds its folders there
        fs::create_symlink(parent, folder.path() / input / "device/device", exists);
        if (!d.driver.empty()) {
            fs::path driver = folder.path() / "sys/bus/drivers" / d.driver;
            fs::create_directories(driver);
            fs::create_symlink(driver, parent / "driver", exists);
        }
        fs::create_symlink(folder.path() / input, fs::path(roots.sys_class_input) / d.event);
        folder.write("dev/input/" + d.event, "");
    }
    void remove(const std::string& event) {
        fs::remove(fs::path(roots.sys_class_input) / event);
        fs::remove(fs::path(roots.dev_input) / event);
    }

    TempFolder folder;
    InputRoots roots;
};

// Bits of the abs capability: X Y Z = 0x7, RX RY RZ = 0x38.
const FakeInputTree::Device kKeyboard{
    "event2", "AT Translated Set 2 keyboard", "0", "0", "1 fffffffffffffffe", "atkbd", "serio0"};
const FakeInputTree::Device kPadButtons{"event3",
                                        "DualSense Wireless Controller",
                                        "0",
                                        "3003f",
                                        "7fdb000000000000 0",
                                        "playstation",
                                        "0005:054C:0CE6.0001"};
const FakeInputTree::Device kPadMotion{"event4",
                                       "DualSense Wireless Controller Motion Sensors",
                                       "40",
                                       "3f",
                                       "0",
                                       "playstation",
                                       "0005:054C:0CE6.0001"};
const FakeInputTree::Device kWiiAccel{"event5",
                                      "Nintendo Wii Remote Accelerometer",
                                      "0",
                                      "38",
                                      "0",
                                      "wiimote",
                                      "0005:057E:0306.0002"};
const FakeInputTree::Device kWiiGyro{
    "event6", "Nintendo Wii Remote Motion Plus", "0", "38", "0", "wiimote", "0005:057E:0306.0002"};
const FakeInputTree::Device kLis3{"event10",  "ST LIS3LV02DL Accelerometer", "0", "7", "0", "",
                                  "lis3lv02d"};
const FakeInputTree::Device kHdaps{"event11", "hdaps", "0", "3", "0", "hdaps", "hdaps"};

TEST(InputDiscoveryTest, FindsAccelerometersByPropertyByUdevsRuleAndByDriver) {
    FakeInputTree tree;
    for (const auto& d : {kHdaps, kLis3, kKeyboard, kPadButtons, kPadMotion, kWiiAccel, kWiiGyro}) {
        tree.add(d);
    }
    fs::create_directories(fs::path(tree.roots.sys_class_input) / "input7");  // not an event node
    fs::create_directories(fs::path(tree.roots.sys_class_input) / "event9x");

    std::vector<std::string> events, drivers;
    for (const InputDeviceInfo& info : find_input_accelerometers(tree.roots)) {
        events.push_back(info.event);
        drivers.push_back(info.driver);
        EXPECT_EQ(info.dev_path, tree.roots.dev_input + "/" + info.event);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"event4", "event5", "event10", "event11"}));
    EXPECT_EQ(drivers, (std::vector<std::string>{"playstation", "wiimote", "lis3lv02d", "hdaps"}));

    InputRoots nowhere{tree.folder.file("none"), tree.folder.file("none")};
    EXPECT_TRUE(find_input_accelerometers(nowhere).empty());
}

TEST(InputDiscoveryTest, ANamedDeviceIsDescribedThroughLinksAndOddPathsAreJustPaths) {
    FakeInputTree tree;
    tree.add(kPadMotion);
    fs::create_directories(fs::path(tree.roots.dev_input) / "by-id");
    std::string link = tree.roots.dev_input + "/by-id/usb-Sony-event-joystick";
    fs::create_symlink("../event4", link);
    InputDeviceInfo info = describe_input_device(tree.roots, link);
    EXPECT_EQ(info.name, kPadMotion.name);
    EXPECT_EQ(info.driver, "playstation");
    EXPECT_EQ(info.dev_path, link);

    std::string odd = tree.folder.file("we ird\n\"$(rm -rf ~)\";event4");
    InputDeviceInfo plain = describe_input_device(tree.roots, odd);
    EXPECT_EQ(plain.dev_path, odd);
    EXPECT_TRUE(plain.name.empty() && plain.driver.empty());
}

TEST(InputDiscoveryTest, DeviceFilesThatAreNoCharacterDevicesAreRefused) {
    FakeInputTree tree;
    tree.add(kPadMotion);
    TempFolder other;
    std::string fifo = other.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {tree.roots.dev_input + "/event4", fifo, other.path().string()}) {
        OpenedInput opened = open_input_device({"event4", path, "", "playstation"});
        EXPECT_FALSE(opened.device) << path;
        EXPECT_EQ(opened.error, ENOTTY) << path;
    }
    EXPECT_EQ(open_input_device({"", other.file("missing"), "", ""}).error, ENOENT);
}

// Everything the sources would read, on the fake trees.
TEST(InputDiscoveryTest, TheListAndTheAutomaticChoiceTakeIioFirst) {
    FakeInputTree tree;
    tree.add(kPadMotion);
    DeviceRoots roots{tree.folder.file("iio"), tree.roots};
    // No IIO device: the first input-event accelerometer, which cannot be read here.
    auto listed = list_accelerometers(roots);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].source, "evdev");
    EXPECT_EQ(listed[0].name, kPadMotion.name);
    EXPECT_FALSE(listed[0].readable);
    EXPECT_EQ(listed[0].why_not, "not an input-event device");
    auto source = make_source("auto", "", roots);
    ASSERT_TRUE(dynamic_cast<EvdevSource*>(source.get()));
    EXPECT_EQ(source->read(), (Reading{0, 0, -1000}));
    EXPECT_TRUE(dynamic_cast<EvdevSource*>(make_source("evdev", "", roots).get()));
    std::string named = "evdev:" + tree.roots.dev_input + "/event4";
    EXPECT_TRUE(dynamic_cast<EvdevSource*>(make_source(named, "", roots).get()));

    for (char axis : {'x', 'y', 'z'}) {
        tree.folder.write(std::string("iio/iio:device0/in_accel_") + axis + "_raw", "0\n");
    }
    tree.folder.write("iio/iio:device0/name", "accel_3d\n");
    listed = list_accelerometers(roots);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].source, "iio");
    EXPECT_EQ(listed[0].name, "accel_3d");
    EXPECT_TRUE(listed[0].readable);
    EXPECT_TRUE(dynamic_cast<IioSource*>(make_source("", "", roots).get()));
}

// The evdev source on the fake tree, with pipes in place of the device files and a
// clock the test moves.
class EvdevSourceTest : public ::testing::Test {
protected:
    EvdevSource make(std::string path = {}) {
        return EvdevSource(
            tree.roots, std::move(path), [this] { return now; },
            [this](const InputDeviceInfo& info) { return open(info); },
            [this](const std::string& text) { complaints.push_back(text); });
    }

    OpenedInput open(const InputDeviceInfo& info) {
        ++opens;
        if (refuse && (refused_event.empty() || info.event == refused_event)) {
            return {nullptr, refuse};
        }
        if (!fs::exists(info.dev_path)) return {nullptr, ENOENT};
        pipe = std::make_unique<EventPipe>();
        auto device =
            EvdevDevice::open(pipe->take_reader(), driver_frame(info.driver), [](uint16_t) {
                return std::optional<AxisRange>(AxisRange{0, -32768, 32768, 8192});
            });
        return {std::move(device), 0};
    }

    FakeInputTree tree;
    int64_t now = 0;
    int refuse = 0;
    std::string refused_event;  // empty: every device
    int opens = 0;
    std::unique_ptr<EventPipe> pipe;
    std::vector<std::string> complaints;
};

TEST_F(EvdevSourceTest, AControllerSwitchedOnLaterIsPickedUpWithinTwoSeconds) {
    EvdevSource source = make();
    EXPECT_FALSE(source.has_device());
    EXPECT_EQ(source.read(), (Reading{0, 0, -1000}));
    int scans = opens;

    now = 300;
    tree.add(kPadMotion);
    for (; now <= 2300 && !source.has_device(); now += 17) source.read();
    ASSERT_TRUE(source.has_device());
    EXPECT_LE(now, 2300);
    EXPECT_EQ(source.device_info().event, "event4");
    pipe->write(report({{ABS_X, -8192}, {ABS_Y, 8192}}));
    EXPECT_EQ(source.read(), (Reading{1000, 0, -1000}));
    EXPECT_EQ(opens, scans + 1);
    EXPECT_TRUE(complaints.empty());
}

TEST_F(EvdevSourceTest, AnUnpluggedControllerReadsRestNotItsLastSwingAndComesBack) {
    tree.add(kPadMotion);
    EvdevSource source = make();
    ASSERT_TRUE(source.has_device());
    pipe->write(report({{ABS_X, -7000}, {ABS_Y, 8192}}));  // mid-swing
    EXPECT_EQ(source.read().x, 854);

    pipe->close_writer();
    tree.remove("event4");
    EXPECT_EQ(source.read(), (Reading{0, 0, -1000}));
    EXPECT_FALSE(source.has_device());
    now += 3000;
    EXPECT_EQ(source.read(), (Reading{0, 0, -1000}));

    tree.add(kPadMotion);
    for (int64_t until = now + 2000; now <= until && !source.has_device(); now += 17) {
        source.read();
    }
    ASSERT_TRUE(source.has_device());
    pipe->write(report({{ABS_Z, 8192}, {ABS_Y, 8192}}));
    EXPECT_EQ(source.read(), (Reading{0, -1000, -1000}));
}

TEST_F(EvdevSourceTest, AnUnreadableDeviceIsToldOnceWithItsPathNameAndTheFix) {
    tree.add(kPadMotion);
    refuse = EACCES;
    EvdevSource source = make();
    for (; now < 10'000; now += 50) EXPECT_EQ(source.read(), (Reading{0, 0, -1000}));
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_NE(complaints[0].find(tree.roots.dev_input + "/event4"), std::string::npos);
    EXPECT_NE(complaints[0].find(kPadMotion.name), std::string::npos);
    EXPECT_NE(complaints[0].find("udev rule"), std::string::npos);
    EXPECT_NE(complaints[0].find("'input' group"), std::string::npos);

    // Permissions granted later: the device is read from the next scan on.
    refuse = 0;
    now += 1000;
    source.read();
    EXPECT_TRUE(source.has_device());
}

TEST_F(EvdevSourceTest, AnUnreadableDeviceIsPassedOverForTheNextWithoutAWord) {
    tree.add(kPadMotion);
    tree.add(kLis3);
    refuse = EACCES;
    refused_event = "event4";
    EvdevSource source = make();
    ASSERT_TRUE(source.has_device());
    EXPECT_EQ(source.device_info().driver, "lis3lv02d");
    EXPECT_TRUE(complaints.empty());
}

TEST_F(EvdevSourceTest, AHotPluggedDeviceGetsAMomentForItsPermissions) {
    EvdevSource source = make();
    tree.add(kPadMotion);
    refuse = EACCES;
    now = 1000;
    source.read();  // refused once: udev may not have granted access yet
    EXPECT_TRUE(complaints.empty());
    now = 2000;
    source.read();
    EXPECT_EQ(complaints.size(), 1u);
}

TEST(EvdevNamedPathTest, PathsThatAreNoInputDeviceGiveRestAndSaySoOnce) {
    TempFolder folder;
    std::string odd = folder.write("we ird\n\"$(touch pwned)\";\x1b[31m", "not a device");
    std::string fifo = folder.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    InputRoots roots{folder.file("sys"), folder.file("dev")};
    for (const std::string& path : {odd, fifo}) {
        std::vector<std::string> said;
        int64_t now = 0;
        EvdevSource source(
            roots, path, [&now] { return now; }, open_input_device,
            [&said](const std::string& text) { said.push_back(text); });
        for (; now < 3000; now += 50) EXPECT_EQ(source.read(), (Reading{0, 0, -1000}));
        ASSERT_EQ(said.size(), 1u) << path;
        EXPECT_NE(said[0].find("not an input-event accelerometer"), std::string::npos);
        EXPECT_EQ(said[0].find('\n'), std::string::npos);
        EXPECT_EQ(said[0].find('\x1b'), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(folder.file("pwned")));

    // A path that does not exist (yet) is waited for without a word.
    std::vector<std::string> said;
    EvdevSource missing(roots, folder.file("event99"), {}, open_input_device,
                        [&said](const std::string& text) { said.push_back(text); });
    EXPECT_EQ(missing.read(), (Reading{0, 0, -1000}));
    EXPECT_TRUE(said.empty());
}

}  // namespace
}  // namespace tiltophon::sensor
