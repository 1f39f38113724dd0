// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/SensorBinding.h"

#include "platform/Platform.h"

namespace tiltophon {

namespace {

template <typename Entry>
Entry find_entry(LibraryLoader& loader, void* library, std::string_view name) {
    return reinterpret_cast<Entry>(loader.find_symbol(library, name));
}

}  // namespace

int SensorBinding::load(uint32_t kind) {
    LibraryLoader* loader = platform().libraries;
    if (!loader) return 0;
    void* library = loader->load_library(kSensorLibraryName);
    if (!library) return 0;

    // Looked up in this order; each result is kept even when another one is missing.
    open_entry_ = find_entry<SensorOpenEntry>(*loader, library, "HTCSensorOpen");
    close_entry_ = find_entry<SensorCloseEntry>(*loader, library, "HTCSensorClose");
    read_entry_ = find_entry<SensorReadEntry>(*loader, library, "HTCSensorGetDataOutput");
    if (!open_entry_ || !close_entry_ || !read_entry_) return 0;

    sensor_handle_ = open_entry_(kind);
    return 1;
}

int SensorBinding::read(SampleRecord* record) {
    if (!read_entry_) return 0;
    return read_entry_(sensor_handle_, record);
}

int SensorBinding::close() {
    if (close_entry_) close_entry_(sensor_handle_);
    close_entry_ = nullptr;
    read_entry_ = nullptr;
    return 1;
}

}  // namespace tiltophon
