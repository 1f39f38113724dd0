// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The vibration paths without the haptics service: a phone's force-feedback motor and
// a game controller's rumble, found in a made-up sysfs and udev database and driven
// through a recording device, since no machine that runs tests has either.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "motion/TempFolder.h"
#include "platform/sdl/HapticsVibrator.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;

// What the program asked of one device, in order: "upload 25", "play 0", "erase 0".
struct DeviceLog {
    std::vector<std::string> calls;
    bool refuse_upload = false;
};

class RecordingDevice : public ForceFeedbackDevice {
public:
    explicit RecordingDevice(DeviceLog& log) : log_(log) {}
    int upload(uint32_t duration_ms) override {
        log_.calls.push_back("upload " + std::to_string(duration_ms));
        return log_.refuse_upload ? -1 : next_++;
    }
    bool play(int effect) override {
        log_.calls.push_back("play " + std::to_string(effect));
        return true;
    }
    void erase(int effect) override { log_.calls.push_back("erase " + std::to_string(effect)); }

private:
    DeviceLog& log_;
    int next_ = 0;
};

// A made-up /sys/class/input, /sys/devices, /dev/input and udev database.
class HapticsThreadsTest : public ::testing::Test {
protected:
    HapticsThreadsTest() {
        options.roots = {folder.file("sys/class/input"), "/dev/input", folder.file("udev"),
                         folder.file("iio")};
        options.sysfs_class = folder.file("sys/class");
        // No bus: the haptics service is never there.
        options.bus_address = "unix:path=" + folder.file("no-bus");
        options.open_device = [this](const std::string& path) -> std::unique_ptr<ForceFeedbackDevice> {
            opened.push_back(path);
            return std::make_unique<RecordingDevice>(logs[path]);
        };
        fs::create_directories(folder.file("sys/class/input"));
        fs::create_directories(folder.file("udev"));
    }

    // An event device `event` of input device `input` belonging to `owner` (under
    // sys/devices), with the given name, force-feedback bitmap and udev properties.
    void event_device(const std::string& event, const std::string& owner, const std::string& name,
                      const std::string& ff, const std::string& udev = "",
                      const std::string& abs = "0", const std::string& properties = "0") {
        fs::path input = folder.path() / "sys/devices" / owner / ("input-" + event);
        write(input / "name", name);
        write(input / "capabilities/ff", ff);
        write(input / "capabilities/abs", abs);
        write(input / "capabilities/key", "0");
        write(input / "properties", properties);
        fs::create_directory_symlink("..", input / "device");
        fs::path node = folder.path() / "sys/class/input" / event;
        fs::create_directories(node);
        fs::create_directory_symlink(input, node / "device");
        std::string numbers = "13:" + std::to_string(64 + std::stoi(event.substr(5)));
        write(node / "dev", numbers);
        if (!udev.empty()) write(folder.path() / "udev" / ("c" + numbers), udev);
    }
    // A controller whose motion sensors are event4 and whose gamepad, with rumble, event5.
    void controller() {
        event_device("event4", "usb-pad", "Wireless Controller Motion Sensors", "0", "", "7",
                     "40");
        event_device("event5", "usb-pad", "Wireless Controller", "10000 0");  // FF_RUMBLE
    }
    static void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text << "\n";
    }

    // One 25 ms pulse through the vibrator's own thread, waited for.
    void pulse(HapticsVibrator& vibrator) {
        vibrator.start_pulse(25);
        vibrator.stop_pulse();
        std::promise<void> done;
        vibrator.post([&] { done.set_value(); });
        done.get_future().wait();
    }

    TempFolder folder;
    HapticsOptions options;
    std::map<std::string, DeviceLog> logs;
    std::vector<std::string> opened;
};

// The motor wins over the controller, and each is found the way udev or its name
// marks it; a device without rumble or periodic effects is no motor.
TEST_F(HapticsThreadsTest, APulseGoesToTheMotorElseTheControllerItComesFromElseSysfs) {
    struct Case {
        const char* what;
        std::function<void()> set_up;
        const char* sensor;
        VibrationPath path;
        const char* device;
    };
    const std::string motor_ff = "20000 0";  // FF_PERIODIC
    const Case cases[] = {
        {"nothing at all", [] {}, "auto", VibrationPath::kNone, ""},
        {"PinePhone motor", [&] { event_device("event2", "vibrator", "gpio-vibrator", motor_ff,
                                               "E:ID_PATH=platform-vibrator"); },
         "auto", VibrationPath::kMotor, "/dev/input/event2"},
        {"feedbackd's motor", [&] { event_device("event3", "pwm", "pwm-motor", motor_ff,
                                                 "E:ID_INPUT=1\nE:FEEDBACKD_TYPE=vibra"); },
         "auto", VibrationPath::kMotor, "/dev/input/event3"},
        {"a motor known by name", [&] { event_device("event1", "m", "Haptic Vibrator", motor_ff); },
         "auto", VibrationPath::kMotor, "/dev/input/event1"},
        {"a vibrator without effects", [&] { event_device("event1", "m", "vibrator", "0",
                                                          "E:ID_PATH=platform-vibrator"); },
         "auto", VibrationPath::kNone, ""},
        {"the controller in motion", [&] { controller(); }, "auto",
         VibrationPath::kControllerRumble, "/dev/input/event5"},
        {"the controller named", [&] { controller(); }, "evdev:/dev/input/event4",
         VibrationPath::kControllerRumble, "/dev/input/event5"},
        {"the motion comes from a pipe", [&] { controller(); }, "fifo:/tmp/x",
         VibrationPath::kNone, ""},
        {"an IIO accelerometer moves first", [&] {
             controller();
             write(folder.path() / "iio/iio:device0/in_accel_x_raw", "0");
             write(folder.path() / "iio/iio:device0/in_accel_y_raw", "0");
             write(folder.path() / "iio/iio:device0/in_accel_z_raw", "0");
         }, "", VibrationPath::kNone, ""},
        {"motor and controller", [&] {
             controller();
             event_device("event2", "vibrator", "gpio-vibrator", motor_ff,
                          "E:ID_PATH=platform-vibrator");
         }, "auto", VibrationPath::kMotor, "/dev/input/event2"},
        {"only the kernel's LED vibrator", [&] {
             write(folder.path() / "sys/class/leds/vibrator/brightness", "0");
         }, "auto", VibrationPath::kSysfs, ""},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder.path());
        fs::create_directories(folder.file("sys/class/input"));
        logs.clear();
        opened.clear();
        c.set_up();
        options.sensor_setting = c.sensor;
        VibrationChoice choice = choose_vibration(options, false);
        EXPECT_EQ(choice.path, c.path) << c.what << ": " << choice.why;
        EXPECT_TRUE(choose_vibration(options, true).path == VibrationPath::kFeedbackd) << c.what;

        HapticsVibrator vibrator(options);
        pulse(vibrator);
        if (*c.device) {
            EXPECT_EQ(opened, std::vector<std::string>{c.device}) << c.what;
            EXPECT_EQ(logs[c.device].calls,
                      (std::vector<std::string>{"upload 25", "play 0", "erase 0"}))
                << c.what;
        } else {
            EXPECT_TRUE(opened.empty()) << c.what;
        }
        if (c.path == VibrationPath::kSysfs) {
            std::ifstream brightness(folder.file("sys/class/leds/vibrator/brightness"));
            std::string value;
            brightness >> value;
            EXPECT_EQ(value, "0") << "switched off at the pulse's end";
        }
    }
}

// A motor that refuses the effect costs nothing: the pulse goes on to sysfs, and the
// motor is looked for again later rather than at every pulse.
TEST_F(HapticsThreadsTest, AMotorThatRefusesTheEffectFallsBackAndIsLookedForAgain) {
    event_device("event2", "vibrator", "gpio-vibrator", "20000 0", "E:ID_PATH=platform-vibrator");
    write(folder.path() / "sys/class/leds/vibrator/brightness", "0");
    logs["/dev/input/event2"].refuse_upload = true;
    HapticsVibrator vibrator(options);
    for (int i = 0; i < 5; ++i) pulse(vibrator);
    EXPECT_LT(opened.size(), 5u) << "looked for again after a second, not at every pulse";
    EXPECT_EQ(logs["/dev/input/event2"].calls, std::vector<std::string>{"upload 25"});
    std::ifstream brightness(folder.file("sys/class/leds/vibrator/brightness"));
    std::string value;
    brightness >> value;
    EXPECT_EQ(value, "0");
}

}  // namespace
}  // namespace tiltophon
