// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/posix/RegistryDocument.h"

namespace tiltophon {

// The registry kept in one text file (see RegistryDocument for the format).
//
// Every read looks at the file as it is now, so a change made by hand is seen at
// the next read. A missing, unreadable, empty or garbled file reads as an empty
// registry. Every write replaces the file atomically: a temporary file in the same
// folder is written, flushed to disk and renamed over the old one, and the folder
// is flushed too. Writes between begin_update and end_update are saved together
// at end_update. A file that exists but cannot be read is never overwritten, so a
// passing fault (permissions, a too-large file) cannot wipe the user's settings.
// Safe to use from several threads.
class FileRegistry : public Registry {
public:
    explicit FileRegistry(std::string path);

    // $XDG_CONFIG_HOME/tiltophon/registry.reg, or ~/.config/tiltophon/registry.reg.
    static std::string default_path();

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

    const std::string& path() const { return path_; }

    // Files larger than this are not read (and so never overwritten).
    static constexpr std::size_t kMaxFileSize = 16u << 20;

private:
    // The document the next operation works on; nullopt when the file exists but
    // cannot be read.
    std::optional<RegistryDocument> load() const;
    int32_t store(const RegistryDocument& document) const;
    template <typename Change>
    int32_t modify(Change&& change);

    std::string path_;
    std::mutex mutex_;
    int update_depth_ = 0;
    std::optional<RegistryDocument> pending_;
    bool pending_readable_ = false;
    bool pending_changed_ = false;
};

}  // namespace tiltophon
