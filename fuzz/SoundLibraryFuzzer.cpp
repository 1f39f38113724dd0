// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound library is whatever the user copies into the Sounds folder: any names
// (not UTF-8, over-long, in odd letter case), links that go anywhere or nowhere,
// special files. The input describes such a folder tree; the bank must scan it
// without hanging, list exactly the WAV files of the sets, name each by a path that
// leads back to it (or by none when the path would not fit) and sort as asked.

#include <fcntl.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "Require.h"
#include "ScratchFolder.h"
#include "platform/Platform.h"
#include "platform/media/PngImageCodec.h"
#include "platform/media/WaveFile.h"
#include "platform/posix/PosixFileSystem.h"
#include "sound/SoundBank.h"
#include "sound/SoundFiles.h"

using namespace tiltophon;
using tiltophon::fuzz::require;
namespace fs = std::filesystem;

namespace {

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Setup {
    fuzz::ScratchFolder folder;
    PosixFileSystem files;
    PngImageCodec images;
    Platform services;
    std::string png;
    std::string wav;

    Setup() {
        services.files = &files;
        services.images = &images;
        install_platform(services);
        PngImageCodec::save_png(Bitmap(3, 2, 0xFF336699u), utf16_from_utf8(folder.file("p.png")));
        png = read_all(folder.file("p.png"));
        std::vector<uint8_t> wave = encode_wave_s16({0.0f, 0.5f, -0.5f, 0.25f}, 8000);
        wav.assign(wave.begin(), wave.end());
        folder.empty();
    }
};

// A file or folder name as a user or another program may leave it: raw bytes (only
// '/' and the terminating zero are impossible), perhaps close to the system's limit.
class Names {
public:
    explicit Names(FuzzedDataProvider& input) : input_(input) {}

    std::string next(const std::vector<std::string>& sets) {
        std::string name;
        switch (input_.ConsumeIntegralInRange(0, 5)) {
            case 0:
                name = input_.ConsumeRandomLengthString(16);
                break;
            case 1:  // over-long: the whole path no longer fits the program's buffers
                name = std::string(input_.ConsumeIntegralInRange<size_t>(100, 250), 'n');
                break;
            case 2:
                name = pick(sets);
                name += odd_case("B.png");
                break;
            case 3:
                name = pick(sets);
                name += odd_case("S.png");
                break;
            case 4:
                name = input_.ConsumeRandomLengthString(8);
                name += odd_case(".wav");
                break;
            default:
                name = input_.ConsumeRandomLengthString(8);
                name += "\xC3\x28\xFF";  // not UTF-8
                name += odd_case(".wav");
                break;
        }
        for (char& c : name) {
            if (c == '/' || c == '\0') c = '_';
        }
        if (name.empty() || name == "." || name == "..") name = "x";
        if (name.size() > 255) name.resize(255);
        return name;
    }

    std::string pick(const std::vector<std::string>& items) {
        if (items.empty()) return "Set";
        return items[input_.ConsumeIntegralInRange<size_t>(0, items.size() - 1)];
    }

private:
    std::string odd_case(std::string text) {
        for (char& c : text) {
            if (input_.ConsumeBool())
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return text;
    }

    FuzzedDataProvider& input_;
};

// Writes a file unless something already there would make the writer wait (a pipe).
void put_file(const fs::path& path, const std::string& content) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (::write(fd, content.data(), content.size()) < 0) {
        // A file left short is as good a test as any.
    }
    ::close(fd);
}

void build_tree(FuzzedDataProvider& input, const Setup& setup, const fs::path& root) {
    Names names(input);
    std::vector<std::string> sets;
    std::vector<fs::path> made;  // everything made so far, for links to point at
    std::error_code ignored;
    const int steps = input.ConsumeIntegralInRange(0, 40);
    for (int step = 0; step < steps && input.remaining_bytes() > 0; ++step) {
        const std::string set = names.pick(sets);
        const fs::path place = input.ConsumeBool() ? root / set : root;
        switch (input.ConsumeIntegralInRange(0, 7)) {
            case 0: {
                std::string name = names.next(sets);
                if (fs::create_directory(root / name, ignored)) sets.push_back(name);
                made.push_back(root / name);
                break;
            }
            case 1:
            case 2: {
                fs::path file = place / names.next(sets);
                std::string content;
                switch (input.ConsumeIntegralInRange(0, 3)) {
                    case 0:
                        content = setup.png;
                        break;
                    case 1:
                        content = setup.wav;
                        break;
                    case 2:
                        content = input.ConsumeRandomLengthString(64);
                        break;
                    default:
                        break;
                }
                put_file(file, content);
                made.push_back(file);
                break;
            }
            case 3:  // a link to something in the tree, perhaps to a pipe
            case 4: {
                fs::path target =
                    made.empty() ? root
                                 : made[input.ConsumeIntegralInRange<size_t>(0, made.size() - 1)];
                fs::path link = place / names.next(sets);
                fs::create_symlink(target, link, ignored);
                made.push_back(link);
                break;
            }
            case 5: {  // a link that leads nowhere, to itself, or out of the library
                fs::path link = place / names.next(sets);
                const int kind = input.ConsumeIntegralInRange(0, 2);
                fs::path target = kind == 0   ? fs::path("missing")
                                  : kind == 1 ? link
                                              : fs::path("..");
                fs::create_symlink(target, link, ignored);
                made.push_back(link);
                break;
            }
            case 6: {  // a named pipe nobody writes to
                fs::path pipe = place / names.next(sets);
                ::mkfifo(pipe.c_str(), 0600);
                made.push_back(pipe);
                break;
            }
            default: {  // a folder where a file is expected
                fs::path folder = place / names.next(sets);
                fs::create_directory(folder, ignored);
                made.push_back(folder);
                break;
            }
        }
    }
}

// A sound file's name as the bank sees it: one of the sound extensions, and short
// enough for the entry's name field.
bool listed_as_sound(const std::string& name) {
    const std::u16string wide = utf16_from_utf8(name);
    return IsSoundFileName(wide) && wide.size() <= PathText::kCapacity;
}

// Counted straight from the file system: the non-folders named as sound files in the folders
// (links followed) at the top of the library.
int32_t sound_files_in(const fs::path& root) {
    int32_t count = 0;
    std::error_code error;
    for (fs::directory_iterator set(root, error), end; !error && set != end; set.increment(error)) {
        std::error_code type_error;
        if (!set->is_directory(type_error)) continue;
        std::error_code inner;
        for (fs::directory_iterator file(set->path(), inner); !inner && file != end;
             file.increment(inner)) {
            std::error_code file_error;
            const bool folder = file->is_directory(file_error) && !file_error;
            if (!folder && listed_as_sound(file->path().filename().native())) ++count;
        }
    }
    return count;
}

// A named pipe that nobody writes to blocks whoever opens it for reading. libFuzzer's
// own alarm would interrupt that wait and hide it, so the scan runs on a thread that
// never sees the alarm, and a scan that does not end in time is the hang it is.
bool scan_in_time(SoundBank& bank, const std::u16string& library) {
    std::packaged_task<void()> task([&] { bank.Scan(library); });
    std::future<void> done = task.get_future();
    sigset_t alarm;
    sigset_t previous;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, &previous);
    std::thread worker(std::move(task));
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        worker.detach();
        return false;
    }
    worker.join();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    FuzzedDataProvider input(data, size);

    // The library may sit deep in the file system, so that some paths in it get long.
    fs::path root = setup.folder.path();
    for (int depth = input.ConsumeIntegralInRange(0, 3); depth > 0; --depth)
        root /= std::string(60, 'd');
    root /= "Sounds";
    std::error_code ignored;
    fs::create_directories(root, ignored);
    const int32_t order = input.ConsumeIntegralInRange(-1, 4);
    build_tree(input, setup, root);

    const std::u16string library = utf16_from_utf8(root.string() + "/");
    SoundBank bank;
    require(scan_in_time(bank, library), "the scan never waits on a file");
    require(bank.Count() == sound_files_in(root), "every sound file of every set is listed once");

    bank.Sort(order);
    for (int32_t i = 0; i < bank.Count(); ++i) {
        const SoundEntry& entry = *bank.EntryAt(i);
        require(IsSoundFileName(entry.FileName.view()), "entries are sound files");
        if (!entry.FilePath.empty()) {
            std::u16string expected =
                library + entry.FolderName.str() + u"/" + entry.FileName.str();
            require(entry.FilePath == expected, "an entry's path is its folder and name");
            struct stat info {};
            require(::lstat(utf8_from_utf16(entry.FilePath.view()).c_str(), &info) == 0,
                    "an entry's path leads back to its file");
        } else {
            require(library.size() + entry.FolderName.length() + 1 + entry.FileName.length() >
                        PathText::kCapacity,
                    "only a path that does not fit is left empty");
        }
        const SoundEntry* found = bank.FindByName(entry.FileName.view());
        require(found && found->FileName == entry.FileName, "every entry is found by its name");
        if (i > 0) {
            const SoundEntry& before = *bank.EntryAt(i - 1);
            const int by_folder = compare_ignoring_case(before.FolderName, entry.FolderName);
            const int by_file = compare_ignoring_case(before.FileName, entry.FileName);
            if (order == FolderAscending) require(by_folder <= 0, "folders ascend");
            if (order == FolderDescending) require(by_folder >= 0, "folders descend");
            if (order == FileAscending) require(by_file <= 0, "files ascend");
            if (order == FileDescending) require(by_file >= 0, "files descend");
        }
    }
    setup.folder.empty();
    return 0;
}
