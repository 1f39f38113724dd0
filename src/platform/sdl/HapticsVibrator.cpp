// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/HapticsVibrator.h"

#include <gio/gio.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tiltophon {

namespace {

constexpr char kService[] = "org.sigxcpu.Feedback";
constexpr char kObject[] = "/org/sigxcpu/Feedback";
// feedbackd's own event for a touch on a button: a short buzz in its themes.
constexpr char kEvent[] = "button-pressed";
// A service that has not answered by then has lost this pulse, nothing more.
constexpr int kCallTimeoutMs = 1000;
// A motor or controller that is not there is looked for again after this long.
constexpr int64_t kLookupIntervalUs = 1'000'000;

const char* path_name(VibrationPath path) {
    switch (path) {
        case VibrationPath::kFeedbackd:
            return "the haptics service";
        case VibrationPath::kMotor:
            return "the vibration motor";
        case VibrationPath::kControllerRumble:
            return "the controller's rumble";
        case VibrationPath::kSysfs:
            return "the sysfs vibrator";
        case VibrationPath::kNone:
            break;
    }
    return "nothing";
}

}  // namespace

VibrationChoice choose_vibration(const HapticsOptions& options, bool feedbackd_on_bus) {
    if (feedbackd_on_bus) {
        return {VibrationPath::kFeedbackd, kService,
                "the session's haptics service (feedbackd) is on the bus; it applies the "
                "user's feedback profile"};
    }
    if (auto motor = find_vibration_motor(options.roots)) {
        return {VibrationPath::kMotor, motor->path + " (" + motor->name + ")", motor->why};
    }
    if (auto rumble = find_controller_rumble(options.roots, options.sensor_setting)) {
        return {VibrationPath::kControllerRumble, rumble->path + " (" + rumble->name + ")",
                rumble->why};
    }
    if (auto sysfs = SysfsVibrator::find(options.sysfs_class)) {
        return {VibrationPath::kSysfs, sysfs->control_file(), "the kernel offers a vibrator there"};
    }
    return {VibrationPath::kNone, "",
            "no haptics service on the bus, no vibration motor, no rumbling controller as "
            "the motion source and no sysfs vibrator"};
}

bool feedbackd_on_session_bus() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return false;
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", kService), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    return owned;
}

HapticsVibrator::HapticsVibrator(HapticsOptions options) : options_(std::move(options)) {
    context_ = g_main_context_new();
    loop_ = g_main_loop_new(context_, FALSE);
    thread_ = std::thread(&HapticsVibrator::run, this);
}

HapticsVibrator::~HapticsVibrator() {
    post([this] { g_main_loop_quit(loop_); });
    thread_.join();
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
}

void HapticsVibrator::post(std::function<void()> routine) {
    // Handed over under a lock of our own rather than through GLib's, whose
    // synchronisation the thread checker cannot see.
    {
        std::lock_guard lock(posted_mutex_);
        posted_.push_back(std::move(routine));
    }
    g_main_context_invoke(
        context_,
        [](gpointer self) -> gboolean {
            static_cast<HapticsVibrator*>(self)->run_posted();
            return G_SOURCE_REMOVE;
        },
        this);
}

void HapticsVibrator::run_posted() {
    for (;;) {
        std::function<void()> routine;
        {
            std::lock_guard lock(posted_mutex_);
            if (posted_.empty()) return;
            routine = std::move(posted_.front());
            posted_.pop_front();
        }
        routine();
    }
}

void HapticsVibrator::start_pulse(uint32_t duration_ms) {
    post([this, duration_ms] { start_on_thread(duration_ms); });
}

void HapticsVibrator::stop_pulse() {
    post([this] { stop_on_thread(); });
}

void HapticsVibrator::run() {
    g_main_context_push_thread_default(context_);
    std::string address = options_.bus_address;
    if (address.empty()) {
        gchar* session = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (session) address = session;
        g_free(session);
    }
    // Without a session bus there is no haptics service to find; GLib would start a
    // bus of its own for the X display ("autolaunch:"), which would outlive the program.
    // A connection of our own: the shared one would end the process if the bus went.
    if (!address.empty() && !address.starts_with("autolaunch:")) {
        g_dbus_connection_new_for_address(
            address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &HapticsVibrator::on_bus, this);
    }
    g_main_loop_run(loop_);
    if (watch_) g_bus_unwatch_name(watch_);
    if (bus_) g_object_unref(bus_);
    // Whatever still vibrates stops with the program.
    while (!running_.empty()) stop_on_thread();
    device_.reset();
    g_main_context_pop_thread_default(context_);
}

void HapticsVibrator::on_bus(GObject*, GAsyncResult* result, void* self) {
    auto* vibrator = static_cast<HapticsVibrator*>(self);
    GDBusConnection* bus = g_dbus_connection_new_for_address_finish(result, nullptr);
    // Without a session bus there is no service to use; the devices serve.
    if (!bus) return;
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    vibrator->bus_ = bus;
    vibrator->watch_ = g_bus_watch_name_on_connection(
        bus, kService, G_BUS_NAME_WATCHER_FLAGS_NONE, &HapticsVibrator::on_name_appeared,
        &HapticsVibrator::on_name_vanished, vibrator, nullptr);
}

void HapticsVibrator::on_name_appeared(GDBusConnection*, const char*, const char*, void* self) {
    static_cast<HapticsVibrator*>(self)->feedbackd_ = true;
}

void HapticsVibrator::on_name_vanished(GDBusConnection*, const char*, void* self) {
    static_cast<HapticsVibrator*>(self)->feedbackd_ = false;
}

void HapticsVibrator::say_once(bool& said, const std::string& line) {
    if (said) return;
    said = true;
    std::fprintf(stderr, "tiltophon: %s\n", line.c_str());
}

void HapticsVibrator::trigger_feedbackd() {
    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    // The haptic effect of the event and no click sound: the swing has its own sound.
    g_variant_builder_add(&hints, "{sv}", "profile", g_variant_new_string("quiet"));
    ++calls_;
    g_dbus_connection_call(bus_, kService, kObject, kService, "TriggerFeedback",
                           g_variant_new("(ssa{sv}i)", kApplicationId, kEvent, &hints, -1),
                           G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs,
                           nullptr, &HapticsVibrator::on_triggered, this);
}

void HapticsVibrator::on_triggered(GObject* source, GAsyncResult* result, void* self) {
    auto* vibrator = static_cast<HapticsVibrator*>(self);
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    ++vibrator->answers_;
    if (reply) g_variant_unref(reply);
    if (error) {
        vibrator->say_once(
            vibrator->said_service_error_,
            std::string("the haptics service (feedbackd) refused a vibration: ") + error->message);
        g_error_free(error);
    }
}

ForceFeedbackDevice* HapticsVibrator::force_feedback() {
    if (device_) return device_.get();
    int64_t now = g_get_monotonic_time();
    if (looked_ && now - last_lookup_us_ < kLookupIntervalUs) return nullptr;
    looked_ = true;
    last_lookup_us_ = now;
    if (auto motor = find_vibration_motor(options_.roots)) open(*motor, VibrationPath::kMotor);
    if (!device_) {
        if (auto rumble = find_controller_rumble(options_.roots, options_.sensor_setting)) {
            open(*rumble, VibrationPath::kControllerRumble);
        }
    }
    return device_.get();
}

void HapticsVibrator::open(const HapticDevice& found, VibrationPath path) {
    errno = 0;
    device_ = options_.open_device(found.path);
    device_path_ = path;
    if (!device_) {
        say_once(said_cannot_open_,
                 std::string(path_name(path)) + " " + found.path + " (" + found.name +
                     ") cannot be used: " + (errno ? std::strerror(errno) : "no force feedback") +
                     ". The udev rule of feedbackd gives the seat's user access.");
    }
}

void HapticsVibrator::start_on_thread(uint32_t duration_ms) {
    if (feedbackd_ && bus_) {
        trigger_feedbackd();
        running_.push_back({VibrationPath::kFeedbackd, -1});
        return;
    }
    if (ForceFeedbackDevice* device = force_feedback()) {
        int effect = device->upload(duration_ms);
        if (effect >= 0 && device->play(effect)) {
            running_.push_back({device_path_, effect});
            return;
        }
        if (effect >= 0) device->erase(effect);
        say_once(said_upload_refused_, std::string(path_name(device_path_)) +
                                           " refused a vibration; it is looked for again");
        // A controller unplugged, a motor taken: try afresh next time.
        device_.reset();
    }
    if (!sysfs_looked_) {
        sysfs_ = SysfsVibrator::find(options_.sysfs_class);
        sysfs_looked_ = true;
    }
    if (sysfs_) {
        sysfs_->set_vibrating(true);
        running_.push_back({VibrationPath::kSysfs, -1});
        return;
    }
    running_.push_back({VibrationPath::kNone, -1});
}

void HapticsVibrator::stop_on_thread() {
    if (running_.empty()) return;
    Running pulse = running_.front();
    running_.pop_front();
    switch (pulse.path) {
        case VibrationPath::kMotor:
        case VibrationPath::kControllerRumble:
            // The effect ends by its own length too; erasing frees its slot.
            if (device_) device_->erase(pulse.effect);
            break;
        case VibrationPath::kSysfs:
            // Each pulse switches the motor off at its own end, as the handset's did.
            if (sysfs_) sysfs_->set_vibrating(false);
            break;
        default:
            break;
    }
}

}  // namespace tiltophon
