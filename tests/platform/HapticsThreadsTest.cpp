// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The vibration paths without the haptics service: a phone's force-feedback motor and
// a game controller's rumble, found in a made-up sysfs and udev database and driven
// through a recording device, since no machine that runs tests has either.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "motion/TempFolder.h"
#include "platform/sdl/HapticsVibrator.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;

// Records "open PATH", "upload 25", "play 0", "erase 0"; refuses uploads when asked.
class RecordingDevice : public ForceFeedbackDevice {
public:
    RecordingDevice(std::vector<std::string>& log, bool refuse) : log_(log), refuse_(refuse) {}
    int upload(uint32_t ms) override {
        log_.push_back("upload " + std::to_string(ms));
        return refuse_ ? -1 : 0;
    }
    bool play(int effect) override {
        log_.push_back("play " + std::to_string(effect));
        return true;
    }
    void erase(int effect) override { log_.push_back("erase " + std::to_string(effect)); }

private:
    std::vector<std::string>& log_;
    bool refuse_;
};

class HapticsThreadsTest : public ::testing::Test {
protected:
    void write(const std::string& file, const std::string& text) {
        fs::create_directories((folder.path() / file).parent_path());
        std::ofstream(folder.path() / file) << text << "\n";
    }
    // Event device `event` of a device `owner`, with its name, force-feedback bitmap
    // (words highest first), udev properties and, for an accelerometer, its axes.
    void event_device(const std::string& event, const std::string& owner, const std::string& name,
                      const std::string& ff, const std::string& udev = "", bool motion = false) {
        fs::path input = folder.path() / "sys/devices" / owner / ("input-" + event);
        write(input / "name", name);
        write(input / "capabilities/ff", ff);
        write(input / "capabilities/abs", motion ? "7" : "0");
        write(input / "properties", motion ? "40" : "0");  // INPUT_PROP_ACCELEROMETER
        fs::create_directory_symlink("..", input / "device");
        fs::path node = folder.path() / "sys/class/input" / event;
        fs::create_directories(node);
        fs::create_directory_symlink(input, node / "device");
        std::string numbers = "13:" + event.substr(5);
        write(node / "dev", numbers);
        if (!udev.empty()) write("udev/c" + numbers, udev);
    }
    // The devices of a case, as a set of these.
    static constexpr int kMotor = 1, kRefusing = 2, kPwm = 4, kNamed = 8, kNoEffects = 16;
    static constexpr int kController = 32, kIio = 64, kLed = 128;
    void make(int devices) {
        if (devices & kController) {
            event_device("event4", "usb-pad", "Wireless Controller Motion Sensors", "0", "", true);
            event_device("event5", "usb-pad", "Wireless Controller", "10000 0");  // FF_RUMBLE
        }
        if (devices & kMotor) {  // FF_PERIODIC
            event_device("event2", "vibrator", "gpio-vibrator", "20000 0",
                         "E:ID_PATH=platform-vibrator");
        }
        if (devices & kPwm) {
            event_device("event3", "pwm", "pwm", "20000 0", "E:FEEDBACKD_TYPE=vibra");
        }
        if (devices & kNamed) event_device("event1", "m", "Haptic Vibrator", "20000 0");
        if (devices & kNoEffects) {
            event_device("event1", "m", "vibrator", "0", "E:ID_PATH=platform-vibrator");
        }
        for (const char* axis : {"x", "y", "z"}) {
            if (devices & kIio)
                write(std::string("iio/iio:device0/in_accel_") + axis + "_raw", "0");
        }
        if (devices & kLed) write("sys/class/leds/vibrator/brightness", "0");
        refuse = devices & kRefusing;
    }

    TempFolder folder;
    bool refuse = false;
};

// The motor wins over the controller, each found the way udev or its name marks it;
// a motor that refuses the effect hands the pulse on to sysfs.
TEST_F(HapticsThreadsTest, APulseGoesToTheMotorElseTheControllerItComesFromElseSysfs) {
    struct Case {
        const char* what;
        int devices;
        const char* sensor;
        VibrationPath path;
        std::string opened;  // the event device given the pulse
    };
    const Case cases[] = {
        {"nothing", 0, "auto", VibrationPath::kNone, ""},
        {"PinePhone motor", kMotor, "auto", VibrationPath::kMotor, "event2"},
        {"feedbackd's motor", kPwm, "auto", VibrationPath::kMotor, "event3"},
        {"motor by name", kNamed, "auto", VibrationPath::kMotor, "event1"},
        {"vibrator without effects", kNoEffects, "auto", VibrationPath::kNone, ""},
        {"controller in motion", kController, "auto", VibrationPath::kControllerRumble, "event5"},
        {"controller named", kController, "evdev:/dev/input/event4",
         VibrationPath::kControllerRumble, "event5"},
        {"motion from a pipe", kController, "fifo:/tmp/x", VibrationPath::kNone, ""},
        {"IIO accelerometer first", kController | kIio, "", VibrationPath::kNone, ""},
        {"motor and controller", kMotor | kController, "auto", VibrationPath::kMotor, "event2"},
        {"LED vibrator", kLed, "auto", VibrationPath::kSysfs, ""},
        {"refusing motor", kMotor | kRefusing | kLed, "auto", VibrationPath::kMotor, "event2"},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder.path());
        make(c.devices);
        std::vector<std::string> calls;
        HapticsOptions options{
            {folder.file("sys/class/input"), "/dev/input", folder.file("udev"), folder.file("iio")},
            c.sensor,
            folder.file("sys/class"),
            "unix:path=" + folder.file("no-bus"),  // no haptics service
            [&](const std::string& path) -> std::unique_ptr<ForceFeedbackDevice> {
                calls.push_back("open " + path);
                return std::make_unique<RecordingDevice>(calls, refuse);
            }};
        EXPECT_EQ(choose_vibration(options, false).path, c.path) << c.what;
        EXPECT_EQ(choose_vibration(options, true).path, VibrationPath::kFeedbackd) << c.what;
        {
            HapticsVibrator vibrator(options);
            vibrator.start_pulse(25);
            vibrator.stop_pulse();
            std::promise<void> done;
            vibrator.post([&] { done.set_value(); });
            done.get_future().wait();
        }
        std::vector<std::string> expected;
        if (!c.opened.empty()) expected = {"open /dev/input/" + c.opened, "upload 25"};
        if (!c.opened.empty() && !refuse) expected.insert(expected.end(), {"play 0", "erase 0"});
        EXPECT_EQ(calls, expected) << c.what;
        std::ifstream brightness(folder.file("sys/class/leds/vibrator/brightness"));
        std::string value = "0";
        brightness >> value;
        EXPECT_EQ(value, "0") << c.what << ": the LED is off at the pulse's end";
    }
}

}  // namespace
}  // namespace tiltophon
