// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/DlLibraryLoader.h"

#include <dlfcn.h>

#include <utility>

namespace tiltophon {

DlLibraryLoader::DlLibraryLoader(std::string program_folder)
    : program_folder_(std::move(program_folder)) {}

void* DlLibraryLoader::load_library(std::string_view name) {
    if (name.empty()) return nullptr;
    std::string file(name);
    constexpr int kMode = RTLD_NOW | RTLD_LOCAL;
    if (file.find('/') == std::string::npos && !program_folder_.empty()) {
        std::string own = program_folder_;
        if (own.back() != '/') own += '/';
        own += file;
        if (void* library = dlopen(own.c_str(), kMode)) return library;
    }
    return dlopen(file.c_str(), kMode);
}

void* DlLibraryLoader::find_symbol(void* library, std::string_view name) {
    if (!library) return nullptr;
    return dlsym(library, std::string(name).c_str());
}

}  // namespace tiltophon
