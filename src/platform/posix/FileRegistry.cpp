// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/FileRegistry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tiltophon {

namespace fs = std::filesystem;

namespace {

bool write_all(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads a whole file; nullopt with errno when it cannot be read.
std::optional<std::string> read_file(const std::string& path, std::size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char chunk[16384];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            int saved = errno;
            ::close(fd);
            errno = saved;
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
        if (bytes.size() > limit) {
            ::close(fd);
            errno = EFBIG;
            return std::nullopt;
        }
    }
    ::close(fd);
    return bytes;
}

// The file the settings really live in: a link (as dotfile managers make) is
// followed, so that saving replaces the target instead of the link.
std::string resolve_target(const std::string& path) {
    std::error_code error;
    fs::path target = fs::canonical(path, error);
    return error ? path : target.string();
}

}  // namespace

FileRegistry::FileRegistry(std::string path) : path_(std::move(path)) {}

std::string FileRegistry::default_path() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    // Relative values are invalid and ignored.
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') {
            const passwd* entry = ::getpwuid(::getuid());
            home = entry ? entry->pw_dir : nullptr;
        }
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/tiltophon/registry.reg";
}

std::optional<RegistryDocument> FileRegistry::load() const {
    std::optional<std::string> bytes = read_file(path_, kMaxFileSize);
    if (!bytes) {
        if (errno == ENOENT || errno == ENOTDIR) return RegistryDocument();
        return std::nullopt;
    }
    return RegistryDocument::parse(*bytes);
}

int32_t FileRegistry::store(const RegistryDocument& document) const {
    std::string target = resolve_target(path_);
    fs::path folder = fs::path(target).parent_path();
    std::error_code error;
    if (!folder.empty()) fs::create_directories(folder, error);

    std::string temp = (folder / ".registry.reg.XXXXXX").string();
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return registry_result::kWriteFault;
    bool ok = write_all(fd, document.serialize()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return registry_result::kWriteFault;
    }
    // The rename itself reaches the disk only with the folder.
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return registry_result::kSuccess;
}

template <typename Change>
int32_t FileRegistry::modify(Change&& change) {
    std::lock_guard lock(mutex_);
    if (update_depth_ > 0) {
        pending_changed_ = true;
        if (!pending_readable_) return registry_result::kWriteFault;
        change(*pending_);
        return registry_result::kSuccess;
    }
    std::optional<RegistryDocument> document = load();
    if (!document) return registry_result::kWriteFault;
    change(*document);
    return store(*document);
}

int32_t FileRegistry::read_string(RegistryRoot root, std::u16string_view key,
                                  std::u16string_view name, char16_t* buffer,
                                  std::size_t capacity) {
    std::lock_guard lock(mutex_);
    if (update_depth_ > 0 && pending_readable_) {
        return pending_->read_string(root, key, name, buffer, capacity);
    }
    std::optional<RegistryDocument> document = load();
    if (!document) return registry_result::kFileNotFound;
    return document->read_string(root, key, name, buffer, capacity);
}

int32_t FileRegistry::read_dword(RegistryRoot root, std::u16string_view key,
                                 std::u16string_view name, uint32_t& value) {
    std::lock_guard lock(mutex_);
    if (update_depth_ > 0 && pending_readable_) return pending_->read_dword(root, key, name, value);
    std::optional<RegistryDocument> document = load();
    if (!document) return registry_result::kFileNotFound;
    return document->read_dword(root, key, name, value);
}

int32_t FileRegistry::write_string(RegistryRoot root, std::u16string_view key,
                                   std::u16string_view name, std::u16string_view text) {
    return modify([&](RegistryDocument& d) { d.write_string(root, key, name, text); });
}

int32_t FileRegistry::write_dword(RegistryRoot root, std::u16string_view key,
                                  std::u16string_view name, uint32_t value) {
    return modify([&](RegistryDocument& d) { d.write_dword(root, key, name, value); });
}

void FileRegistry::begin_update() {
    std::lock_guard lock(mutex_);
    if (update_depth_++ > 0) return;
    pending_ = load();
    pending_readable_ = pending_.has_value();
    pending_changed_ = false;
}

int32_t FileRegistry::end_update() {
    std::lock_guard lock(mutex_);
    if (update_depth_ == 0 || --update_depth_ > 0) return registry_result::kSuccess;
    int32_t result = registry_result::kSuccess;
    if (!pending_readable_) {
        result = pending_changed_ ? registry_result::kWriteFault : registry_result::kSuccess;
    } else if (pending_changed_) {
        result = store(*pending_);
    }
    pending_.reset();
    pending_changed_ = false;
    return result;
}

}  // namespace tiltophon
