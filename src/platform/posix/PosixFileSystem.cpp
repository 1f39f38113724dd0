// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Text.h"

namespace tiltophon {

namespace fs = std::filesystem;

namespace {

// Absolute paths only: the XDG rules say a relative value is to be ignored.
std::string home_folder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir && entry->pw_dir[0] == '/' ? entry->pw_dir : "";
}

bool write_all(int fd, const char* bytes, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads into `buffer`; -1 on an error other than an interruption.
ssize_t read_some(int fd, char* buffer, std::size_t size) {
    for (;;) {
        ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

// A regular file opened for reading; -1 for anything else. Non-blocking, so that a
// fifo given in place of a file cannot hang the caller.
int open_regular_file(const std::string& path, struct stat& info) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void flush_folder(const std::string& folder) {
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

// The hidden name a copy is written under until it is whole.
constexpr std::string_view kCopyPrefix = ".tiltophon-copy-";

// Copies the open `from`, of `expected` bytes, into the open `to`; false on any error
// (ENOSPC on a full disk among them), when `cancelled` says so, or when the source
// turns out longer or shorter than it was (a file still being written).
bool copy_contents(int from, int to, uint64_t expected, const CopyCancelled& cancelled) {
    std::vector<char> chunk(1 << 16);
    uint64_t total = 0;
    for (;;) {
        if (cancelled && cancelled()) return false;
        ssize_t n = read_some(from, chunk.data(), chunk.size());
        if (n < 0) return false;
        if (n == 0) break;
        total += static_cast<uint64_t>(n);
        if (total > expected || !write_all(to, chunk.data(), static_cast<std::size_t>(n))) {
            return false;
        }
    }
    struct stat after {};
    return total == expected && ::fstat(from, &after) == 0 &&
           static_cast<uint64_t>(after.st_size) == expected;
}

// Gives the finished temporary file its name unless that name exists.
CopyResult link_without_replacing(const std::string& temp, const std::string& target) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return CopyResult::kCopied;
    }
    if (errno == EEXIST) return CopyResult::kNameTaken;
    // Some file systems cannot rename without replacing; a hard link cannot replace.
    if (errno != EINVAL && errno != ENOSYS) return CopyResult::kFailed;
    if (::link(temp.c_str(), target.c_str()) == 0) return CopyResult::kCopied;
    return errno == EEXIST ? CopyResult::kNameTaken : CopyResult::kFailed;
}

// Writes a new file through `fill` under a hidden name in the target's folder and
// gives it the target's name once it is whole and on the disk; a failure anywhere
// leaves nothing.
template <typename Fill>
CopyResult write_hidden_then_name(std::u16string_view to, Fill fill) {
    std::string target = utf8_from_utf16(to);
    std::string folder = fs::path(target).parent_path().string();
    if (folder.empty()) folder = ".";
    std::string temp = folder + "/" + std::string(kCopyPrefix) + "XXXXXX";
    int file = ::mkostemp(temp.data(), O_CLOEXEC);
    if (file < 0) return CopyResult::kFailed;
    bool ok = fill(file) && ::fchmod(file, 0644) == 0 && ::fsync(file) == 0;
    ok = ::close(file) == 0 && ok;
    CopyResult result = ok ? link_without_replacing(temp, target) : CopyResult::kFailed;
    ::unlink(temp.c_str());
    if (result == CopyResult::kCopied) flush_folder(folder);
    return result;
}

}  // namespace

std::u16string PosixFileSystem::data_home() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return utf16_from_utf8(data);
    std::string home = home_folder();
    if (home.empty()) return {};
    return utf16_from_utf8(home + "/.local/share");
}

FolderResult PosixFileSystem::make_folders(std::u16string_view folder) {
    // Without trailing separators: with one, the library reports a folder it has just
    // made as one that was there.
    std::string name = utf8_from_utf16(folder);
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    fs::path path(name);
    std::error_code error;
    if (fs::is_directory(path, error)) return FolderResult::kExisted;
    bool made = fs::create_directories(path, error);
    if (!error && fs::is_directory(path, error)) {
        return made ? FolderResult::kCreated : FolderResult::kExisted;
    }
    std::string reason = error ? error.message() : "something else has that name";
    std::fprintf(stderr, "tiltophon: cannot make the folder %s: %s\n", path.c_str(), reason.c_str());
    return FolderResult::kFailed;
}

bool PosixFileSystem::write_new_file(std::u16string_view path, std::string_view bytes) {
    std::string name = utf8_from_utf16(path);
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = write_all(fd, bytes.data(), bytes.size());
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(name.c_str());
    return ok;
}

std::string PosixFileSystem::read_head(std::u16string_view path, std::size_t count) {
    struct stat info {};
    int fd = open_regular_file(utf8_from_utf16(path), info);
    if (fd < 0) return {};
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = read_some(fd, bytes.data() + done, count - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

CopyResult PosixFileSystem::copy_new_file(std::u16string_view from, std::u16string_view to,
                                          uint64_t max_bytes, const CopyCancelled& cancelled) {
    struct stat info {};
    int source = open_regular_file(utf8_from_utf16(from), info);
    if (source < 0) return CopyResult::kFailed;
    if (static_cast<uint64_t>(info.st_size) > max_bytes) {
        ::close(source);
        return CopyResult::kFailed;
    }
    const auto expected = static_cast<uint64_t>(info.st_size);
    CopyResult result = write_hidden_then_name(to, [&](int copy) {
        return copy_contents(source, copy, expected, cancelled);
    });
    ::close(source);
    return result;
}

CopyResult PosixFileSystem::publish_new_file(std::u16string_view to, std::string_view bytes) {
    return write_hidden_then_name(
        to, [bytes](int file) { return write_all(file, bytes.data(), bytes.size()); });
}

void PosixFileSystem::remove_unfinished_copies(std::u16string_view folder) {
    std::error_code error;
    fs::directory_iterator it(fs::path(utf8_from_utf16(folder)), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code type_error;
        if (it->path().filename().native().starts_with(kCopyPrefix) &&
            it->is_regular_file(type_error) && !it->is_symlink(type_error)) {
            fs::remove(it->path(), type_error);
        }
    }
}

std::u16string PosixFileSystem::program_path() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return utf16_from_utf8(exe.native());
}

std::vector<DirectoryEntry> PosixFileSystem::list_directory(std::u16string_view folder) {
    std::vector<DirectoryEntry> entries;
    std::error_code error;
    fs::directory_iterator it(fs::path(utf8_from_utf16(folder)), error);
    // The iterator never reports "." and ".."; a folder that cannot be read gives none.
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code type_error;
        // A link counts as what it points to; a dangling one or a loop as a plain file.
        bool is_directory = it->is_directory(type_error) && !type_error;
        entries.push_back({utf16_from_utf8(it->path().filename().native()), is_directory});
    }
    // The system reports names in the order of its own storage (hash order on most
    // Linux file systems); people expect a set's sounds in name order.
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        int order = compare_ignoring_case(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

}  // namespace tiltophon
