// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Devices.h"
#include "platform/posix/ForceFeedback.h"
#include "platform/posix/HapticDevices.h"
#include "platform/posix/SysfsVibrator.h"

typedef struct _GMainContext GMainContext;
typedef struct _GMainLoop GMainLoop;
typedef struct _GDBusConnection GDBusConnection;
typedef struct _GObject GObject;
typedef struct _GAsyncResult GAsyncResult;

namespace tiltophon {

// Where a pulse goes, in this order of preference.
enum class VibrationPath { kFeedbackd, kMotor, kControllerRumble, kSysfs, kNone };

struct HapticsOptions {
    HapticRoots roots;
    // The sensor library's setting (TILTOPHON_SENSOR), which tells which controller, if
    // any, the motion comes from.
    std::string sensor_setting;
    std::string sysfs_class = "/sys/class";
    // The bus to find the haptics service on; empty for the session bus.
    std::string bus_address;
    std::function<std::unique_ptr<ForceFeedbackDevice>(const std::string& path)> open_device =
        open_force_feedback;
};

// The path a pulse would take now, and why, for a person: the haptics service when it
// is on the bus (`feedbackd_on_bus`), else the phone's motor, else the rumble of the
// controller the motion comes from, else the kernel's sysfs vibrator.
struct VibrationChoice {
    VibrationPath path = VibrationPath::kNone;
    std::string device;
    std::string why;
};
VibrationChoice choose_vibration(const HapticsOptions& options, bool feedbackd_on_bus);

// Whether the haptics service owns its name on the session bus now; asks the bus and
// waits for its answer, so for tools, not for the program's threads.
bool feedbackd_on_session_bus();

// The vibrator of a Linux phone or desktop. Pulses go to the session's haptics service,
// feedbackd (org.sigxcpu.Feedback), while it is on the bus: the service applies the
// user's profile (silent: nothing vibrates) and drives the motor. Without it, to the
// phone's force-feedback motor, the rumble of the controller the motion comes from, or
// the sysfs vibrator. All of that happens on a thread of its own with its own GLib main
// context: the calls return at once, a D-Bus call is asynchronous, and a service that
// answers with an error, hangs or vanishes costs the caller nothing.
class HapticsVibrator : public Vibrator {
public:
    static constexpr char kApplicationId[] = "org.tiltophon.Tiltophon";

    explicit HapticsVibrator(HapticsOptions options = {});
    ~HapticsVibrator() override;
    HapticsVibrator(const HapticsVibrator&) = delete;
    HapticsVibrator& operator=(const HapticsVibrator&) = delete;

    void start_pulse(uint32_t duration_ms) override;
    void stop_pulse() override;

    // The haptics service owns its name on the bus, as last seen.
    bool feedbackd_present() const { return feedbackd_.load(); }
    // Pulses handed to the service, and those it has answered (with an id or an error).
    int feedbackd_calls() const { return calls_.load(); }
    int feedbackd_answers() const { return answers_.load(); }
    // Runs `routine` on the haptics thread after everything posted before it.
    void post(std::function<void()> routine);

private:
    struct Running {
        VibrationPath path;
        int effect;
    };

    void run();
    // Runs what `post` queued, in order, on the haptics thread.
    void run_posted();
    void start_on_thread(uint32_t duration_ms);
    void stop_on_thread();
    // The motor or the controller, opened; looked for at most once a second.
    ForceFeedbackDevice* force_feedback();
    void open(const HapticDevice& found, VibrationPath path);
    void trigger_feedbackd();
    void say_once(bool& said, const std::string& line);

    static void on_bus(GObject* source, GAsyncResult* result, void* self);
    static void on_name_appeared(GDBusConnection*, const char*, const char*, void* self);
    static void on_name_vanished(GDBusConnection*, const char*, void* self);
    static void on_triggered(GObject* source, GAsyncResult* result, void* self);

    HapticsOptions options_;
    GMainContext* context_ = nullptr;
    GMainLoop* loop_ = nullptr;
    std::thread thread_;
    std::atomic<bool> feedbackd_{false};
    std::atomic<int> calls_{0};
    std::atomic<int> answers_{0};
    std::mutex posted_mutex_;
    std::deque<std::function<void()>> posted_;

    // The haptics thread's own.
    GDBusConnection* bus_ = nullptr;
    unsigned watch_ = 0;
    std::unique_ptr<ForceFeedbackDevice> device_;
    VibrationPath device_path_ = VibrationPath::kNone;
    int64_t last_lookup_us_ = 0;
    bool looked_ = false;
    std::unique_ptr<SysfsVibrator> sysfs_;
    bool sysfs_looked_ = false;
    std::deque<Running> running_;
    bool said_service_error_ = false;
    bool said_upload_refused_ = false;
    bool said_cannot_open_ = false;
};

}  // namespace tiltophon
