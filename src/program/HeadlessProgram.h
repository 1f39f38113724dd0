// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "program/HeadlessPlatform.h"
#include "platform/posix/PosixFileSystem.h"

namespace tiltophon {

class Control;

// The real file system, with the program file placed in a given program folder
// (beside its skin, sounds and pictures), wherever the running executable lies.
// Folders are listed by name. It has no data home, so no user library, unless a test
// gives it one: tests never touch the real user's files.
class ProgramFolderFiles : public FileSystem {
public:
    explicit ProgramFolderFiles(std::u16string program_folder)
        : program_folder_(std::move(program_folder)) {}
    std::u16string program_path() override;
    std::vector<DirectoryEntry> list_directory(std::u16string_view folder) override;
    std::u16string data_home() override { return data_home_; }
    FolderResult make_folders(std::u16string_view folder) override;
    bool write_new_file(std::u16string_view path, std::string_view bytes) override;
    std::string read_head(std::u16string_view path, std::size_t count) override;
    CopyResult copy_new_file(std::u16string_view from, std::u16string_view to,
                             uint64_t max_bytes, const CopyCancelled& cancelled) override;
    CopyResult publish_new_file(std::u16string_view to, std::string_view bytes) override;
    void remove_unfinished_copies(std::u16string_view folder) override;

    void set_data_home(std::u16string folder) { data_home_ = std::move(folder); }

private:
    std::u16string program_folder_;
    std::u16string data_home_;
    PosixFileSystem files_;
};

// The whole program on the headless backend, for tests and tools: started as the
// process entry starts it (the loader runs inline on virtual time), driven by pen
// messages through the window procedure, seen through the frames it presents, with
// its settings in memory unless a test gives it another store. `program_folder` ends
// with '/'.
class HeadlessProgram {
public:
    HeadlessProgram(std::u16string program_folder, ScreenInfo screen = {480, 640, 192, 192});

    // Stored settings before the start, as the settings file would hold them, in
    // whatever store the program's platform has (memory unless a test changed it).
    void store(std::u16string_view name, uint32_t value);
    void store(std::u16string_view name, std::u16string_view text);
    void store_slot(int slot, std::u16string_view folder, std::u16string_view name);
    // A sound of the shipped sets in every slot.
    void store_full_board();

    // Captions in `languages` (a gettext language list such as "de") from the
    // catalogues beside `program_folder`, as the real program finds them; before start.
    void use_language(const std::string& languages);

    // init_instance, then the first paint of the pages. False when the program did
    // not come up.
    bool start();

    // Pen messages into the window procedure; each is followed by a pump.
    void pen_down(int32_t x, int32_t y);
    void pen_move(int32_t x, int32_t y);
    void pen_up(int32_t x, int32_t y);
    void tap(int32_t x, int32_t y);
    // A tap in the middle of the control.
    void tap(const Control* control);
    // Down, `steps` moves and up over `duration_ms` of virtual time.
    void drag(int32_t x, int32_t y, int32_t to_x, int32_t to_y, uint32_t duration_ms,
              int steps = 6);

    // A key pressed and released through the window procedure (a key message's code
    // and flags), followed by a pump; with the repeat flag, the key-down alone.
    void key(uintptr_t code, intptr_t flags = 0);

    // Lets virtual time run until any page transition has ended and repainted.
    void settle();
    void advance(uint32_t ms) { headless.windows.advance(ms); }
    // The frame on screen after pumping what is queued.
    const Bitmap& frame();

    void close();
    uint32_t stored_dword(std::u16string_view name);
    std::u16string stored_string(std::u16string_view name);

    Window* window() const;
    HeadlessWindow& headless_window() const { return *headless.windows.window(); }

    HeadlessPlatform headless;
    ProgramFolderFiles files;

private:
    std::unique_ptr<Captions> captions_;

    void pen(uint32_t message, int32_t x, int32_t y);
    Registry& registry();
};

}  // namespace tiltophon
