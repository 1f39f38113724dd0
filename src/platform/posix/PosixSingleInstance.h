// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string>
#include <thread>

namespace tiltophon {

// One running copy per user. The running copy holds an flock on "<name>.lock" and
// listens on the Unix socket "<name>.sock" beside it; a later start finds the lock
// taken, asks through the socket to be raised, and ends. Both live in a folder that
// only the user can write to, so another user can neither hold the lock nor listen.
class PosixSingleInstance {
public:
    // $XDG_RUNTIME_DIR with `name`, else the folder `name-<uid>` of the temporary
    // folder, made private to the user. Without a private folder there is no check.
    static PosixSingleInstance for_user(const std::string& name);
    // Makes the folder `path` (mode 0700) unless it exists, then checks what is there:
    // a folder, not a link, owned by this user, that nobody else may enter. The path
    // when it is one; empty otherwise.
    static std::string private_folder(const std::string& path);
    PosixSingleInstance(std::string folder, std::string name);
    ~PosixSingleInstance();
    PosixSingleInstance(PosixSingleInstance&& other) noexcept;
    PosixSingleInstance(const PosixSingleInstance&) = delete;
    PosixSingleInstance& operator=(const PosixSingleInstance&) = delete;

    // True when another copy runs: it has been asked to come forward. Otherwise
    // this copy is now the one, and `on_raise` runs (on a thread of its own) each
    // time a later start asks. A lock that cannot be made at all, or one held by a
    // copy that does not answer, lets this copy run.
    bool signal_existing_or_listen(std::function<void()> on_raise);

    std::string lock_path() const { return folder_ + "/" + name_ + ".lock"; }
    std::string socket_path() const { return folder_ + "/" + name_ + ".sock"; }

private:
    bool ask_running_copy() const;
    void listen(std::function<void()> on_raise);

    std::string folder_;
    std::string name_;
    int lock_fd_ = -1;
    int listen_fd_ = -1;
    std::thread listener_;
};

}  // namespace tiltophon
