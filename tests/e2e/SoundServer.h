// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "e2e/ChildProcess.h"
#include "e2e/ProcessTools.h"

namespace tiltophon::e2e {

// The sound server of Linux desktops and phones, headless and private: PipeWire,
// WirePlumber and pipewire-pulse in a runtime folder of their own on a session bus of
// their own (dbus-run-session), with a null sink as the default output. What reaches
// the sink is recorded from its monitor with parec. Every process is ended when this
// goes, whatever state the test left it in.
class SoundServer {
public:
    static constexpr const char* kSink = "tiltophon_test";

    explicit SoundServer(std::filesystem::path folder) : folder_(std::move(folder)) {
        for (const char* sub : {"run", "state", "config", "home"}) {
            std::filesystem::create_directories(folder_ / sub);
        }
        std::filesystem::permissions(folder_ / "run", std::filesystem::perms::owner_all);
    }
    ~SoundServer() {
        stop_recording();
        stop();
        if (bus_holder_ > 0) ::kill(bus_holder_, SIGTERM);
        end_process(bus_);
    }
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    std::string runtime_dir() const { return (folder_ / "run").string(); }

    // The environment a client of this server runs with: `base` without anything that
    // would lead it to another server.
    std::vector<std::string> client_env(std::vector<std::string> base) const {
        std::erase_if(base, [](const std::string& entry) {
            for (const char* name :
                 {"XDG_RUNTIME_DIR=", "DBUS_SESSION_BUS_ADDRESS=", "PULSE_SERVER=",
                  "PULSE_RUNTIME_PATH=", "PIPEWIRE_REMOTE=", "PIPEWIRE_RUNTIME_DIR=",
                  "SDL_AUDIODRIVER=", "XDG_STATE_HOME="}) {
                if (entry.rfind(name, 0) == 0) return true;
            }
            return false;
        });
        base.push_back("XDG_RUNTIME_DIR=" + runtime_dir());
        base.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus_address_);
        base.push_back("XDG_STATE_HOME=" + (folder_ / "state").string());
        return base;
    }

    // Starts the session bus (once) and the three servers, then makes a null sink of
    // the given rate and channels the default output. True once it is.
    bool start(int rate = 48000, int channels = 2) {
        if (bus_ <= 0 && !start_bus()) return false;
        std::vector<std::string> env = server_env();
        pipewire_ = spawn_quietly({"pipewire"}, env);
        // WirePlumber and the PulseAudio service connect to PipeWire; they wait for
        // its socket rather than fail.
        if (!poll_until(std::chrono::seconds(10),
                        [&] { return std::filesystem::exists(folder_ / "run/pipewire-0"); })) {
            return false;
        }
        wireplumber_ = spawn_quietly({"wireplumber"}, env);
        pulse_ = spawn_quietly({"pipewire-pulse"}, env);
        if (!poll_until(std::chrono::seconds(15), [&] { return pactl({"info"}); })) return false;
        return pactl({"load-module", "module-null-sink", std::string("sink_name=") + kSink,
                      "rate=" + std::to_string(rate), "channels=" + std::to_string(channels)}) &&
               poll_until(std::chrono::seconds(10), [&] {
                   return pactl({"set-default-sink", kSink});
               });
    }

    // Ends the three servers, as a crash or an update would.
    void stop() {
        for (pid_t* pid : {&pulse_, &wireplumber_, &pipewire_}) {
            end_process(*pid);
            *pid = 0;
        }
    }

    // Records the sink's monitor, 16-bit mono at 48 kHz, into `file` until the next
    // call or the end.
    bool record(const std::filesystem::path& file) {
        stop_recording();
        recording_file_ = file;
        std::string command =
            "exec parec --latency-msec=20 --format=s16le --channels=1 "
            "--rate=48000 --device=" +
            std::string(kSink) + ".monitor > '" + file.string() + "'";
        recorder_ = spawn({"sh", "-c", command}, client_env(server_env()));
        return recorder_ > 0 &&
               poll_until(std::chrono::seconds(10), [&] { return std::filesystem::exists(file); });
    }
    void stop_recording() {
        end_process(recorder_);
        recorder_ = 0;
    }
    // The samples recorded so far.
    std::vector<int16_t> recorded() const {
        std::ifstream in(recording_file_, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::vector<int16_t> samples(bytes.size() / 2);
        if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

    bool pactl(const std::vector<std::string>& arguments) const {
        std::vector<std::string> command = {"pactl"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const int log = open_log();
        const bool done =
            run_to_end(command, client_env(server_env()), std::chrono::seconds(10), log);
        if (log >= 0) ::close(log);
        return done;
    }

private:
    // The log in the server's folder, where the output of the servers and tools goes,
    // out of the test's own.
    int open_log() const {
        return ::open((folder_ / "log.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                      0600);
    }
    pid_t spawn_quietly(const std::vector<std::string>& arguments,
                        const std::vector<std::string>& env) const {
        const int log = open_log();
        pid_t pid = spawn(arguments, env, log, log);
        if (log >= 0) ::close(log);
        return pid;
    }

    // The servers' own environment: private folders for everything they keep, so that
    // nothing of the machine's user is read or changed.
    std::vector<std::string> server_env() const {
        std::vector<std::string> env = client_env(environment_without(
            {"HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "DISPLAY=", "WAYLAND_DISPLAY="}));
        env.push_back("HOME=" + (folder_ / "home").string());
        env.push_back("XDG_CONFIG_HOME=" + (folder_ / "config").string());
        return env;
    }

    // A session bus that lives until this goes: dbus-run-session around a shell that
    // writes the bus's address and its own process id, then waits.
    bool start_bus() {
        const std::filesystem::path info = folder_ / "bus";
        std::string script = "printf '%s\\n%s\\n' \"$DBUS_SESSION_BUS_ADDRESS\" \"$$\" > '" +
                             info.string() + ".part' && mv '" + info.string() + ".part' '" +
                             info.string() + "' && exec sleep 3600";
        bus_ = spawn({"dbus-run-session", "--", "sh", "-c", script},
                     environment_without({"DBUS_SESSION_BUS_ADDRESS="}));
        if (bus_ <= 0 ||
            !poll_until(std::chrono::seconds(10), [&] { return std::filesystem::exists(info); })) {
            return false;
        }
        std::ifstream in(info);
        std::string holder;
        std::getline(in, bus_address_);
        std::getline(in, holder);
        bus_holder_ = static_cast<pid_t>(std::stol(holder));
        return !bus_address_.empty();
    }

    std::filesystem::path folder_;
    std::string bus_address_;
    pid_t bus_ = 0;
    pid_t bus_holder_ = 0;
    pid_t pipewire_ = 0;
    pid_t wireplumber_ = 0;
    pid_t pulse_ = 0;
    pid_t recorder_ = 0;
    std::filesystem::path recording_file_;
};

}  // namespace tiltophon::e2e
