// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <mutex>

#include "platform/Registry.h"
#include "platform/posix/RegistryDocument.h"

namespace tiltophon {

// The registry in memory, with the settings file's semantics, for tests that do not
// look at the file. It counts how often storage was written: once per write
// outside an update, once per update that wrote anything.
class MemoryRegistry : public Registry {
public:
    int32_t read_string(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                        char16_t* buffer, std::size_t capacity) override;
    int32_t read_dword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                       uint32_t& value) override;
    int32_t write_string(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                         std::u16string_view text) override;
    int32_t write_dword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                        uint32_t value) override;
    void begin_update() override;
    int32_t end_update() override;

    // The stored contents as the settings file would hold them.
    std::string text() const;
    int stores() const;

private:
    void written();

    mutable std::mutex mutex_;
    RegistryDocument stored_;
    RegistryDocument pending_;
    int depth_ = 0;
    int pending_writes_ = 0;
    int stores_ = 0;
};

}  // namespace tiltophon
