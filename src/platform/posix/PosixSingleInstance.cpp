// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixSingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tiltophon {

namespace {

constexpr char kRaiseRequest[] = "raise\n";

// Fills a socket address; false when the path does not fit one.
bool socket_address(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

PosixSingleInstance PosixSingleInstance::for_user(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return PosixSingleInstance(runtime, name);
    std::error_code error;
    std::string temp = std::filesystem::temp_directory_path(error).string();
    if (error || temp.empty()) temp = "/tmp";
    // The temporary folder is everybody's: the lock goes into a folder of the user's own.
    std::string wanted = temp + "/" + name + "-" + std::to_string(::geteuid());
    std::string folder = private_folder(wanted);
    if (folder.empty()) {
        std::fprintf(stderr,
                     "tiltophon: %s is not a private folder of this user; a second start "
                     "will not find this one\n",
                     wanted.c_str());
    }
    return PosixSingleInstance(folder, name);
}

std::string PosixSingleInstance::private_folder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return {};
    // Whatever is there now, made by us or not, must be ours alone.
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return {};
    bool ours = S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
                (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
    return ours ? path : std::string();
}

PosixSingleInstance::PosixSingleInstance(std::string folder, std::string name)
    : folder_(std::move(folder)), name_(std::move(name)) {}

PosixSingleInstance::PosixSingleInstance(PosixSingleInstance&& other) noexcept
    : folder_(std::move(other.folder_)),
      name_(std::move(other.name_)),
      lock_fd_(other.lock_fd_),
      listen_fd_(other.listen_fd_),
      listener_(std::move(other.listener_)) {
    other.lock_fd_ = -1;
    other.listen_fd_ = -1;
}

PosixSingleInstance::~PosixSingleInstance() {
    if (listen_fd_ >= 0) {
        // Wakes the listener out of accept.
        ::shutdown(listen_fd_, SHUT_RDWR);
        if (listener_.joinable()) listener_.join();
        ::close(listen_fd_);
        ::unlink(socket_path().c_str());
    }
    if (lock_fd_ >= 0) ::close(lock_fd_);
}

bool PosixSingleInstance::signal_existing_or_listen(std::function<void()> on_raise) {
    if (folder_.empty()) return false;
    lock_fd_ = ::open(lock_path().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock_fd_ < 0) return false;
    if (::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0) {
        bool held = errno == EWOULDBLOCK;
        ::close(lock_fd_);
        lock_fd_ = -1;
        if (!held) return false;
        // A lock that nobody answers for is not a running copy to give way to.
        return ask_running_copy();
    }
    listen(std::move(on_raise));
    return false;
}

bool PosixSingleInstance::ask_running_copy() const {
    sockaddr_un address;
    if (!socket_address(socket_path(), address)) return false;
    // The running copy may have taken the lock a moment ago and not be listening yet.
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    do {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            bool sent = ::send(fd, kRaiseRequest, sizeof kRaiseRequest - 1, MSG_NOSIGNAL) > 0;
            ::close(fd);
            return sent;
        }
        ::close(fd);
        ::usleep(20000);
    } while (std::chrono::steady_clock::now() < give_up);
    return false;
}

void PosixSingleInstance::listen(std::function<void()> on_raise) {
    sockaddr_un address;
    if (!socket_address(socket_path(), address)) return;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // Holding the lock, any socket file left here is a crashed copy's.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    listen_fd_ = fd;
    listener_ = std::thread([fd, on_raise = std::move(on_raise)] {
        for (;;) {
            int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                return;  // shut down
            }
            // A caller that connects and says nothing must not hold up the listener.
            timeval patience{1, 0};
            ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
            char request[sizeof kRaiseRequest] = {};
            ssize_t n = ::recv(client, request, sizeof request - 1, 0);
            ::close(client);
            if (n > 0 && std::strncmp(request, kRaiseRequest, 5) == 0 && on_raise) on_raise();
        }
    });
}

}  // namespace tiltophon
