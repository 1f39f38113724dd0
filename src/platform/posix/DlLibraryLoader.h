// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

#include "platform/Process.h"

namespace tiltophon {

// Loads shared libraries with dlopen. A bare library name is looked for in the program
// folder first, then through the system's ordinary search (the executable's run path,
// LD_LIBRARY_PATH, the loader cache). A name with a slash is taken as a path. Libraries
// are never unloaded, so their entry points stay valid until the process ends.
class DlLibraryLoader : public LibraryLoader {
public:
    // `program_folder` is a native path; empty means the system's search only.
    explicit DlLibraryLoader(std::string program_folder);

    void* load_library(std::string_view name) override;
    void* find_symbol(void* library, std::string_view name) override;

private:
    std::string program_folder_;
};

}  // namespace tiltophon
