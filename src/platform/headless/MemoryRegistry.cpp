// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/headless/MemoryRegistry.h"

namespace tiltophon {

int32_t MemoryRegistry::read_string(RegistryRoot root, std::u16string_view key,
                                    std::u16string_view name, char16_t* buffer,
                                    std::size_t capacity) {
    std::lock_guard lock(mutex_);
    return (depth_ > 0 ? pending_ : stored_).read_string(root, key, name, buffer, capacity);
}

int32_t MemoryRegistry::read_dword(RegistryRoot root, std::u16string_view key,
                                   std::u16string_view name, uint32_t& value) {
    std::lock_guard lock(mutex_);
    return (depth_ > 0 ? pending_ : stored_).read_dword(root, key, name, value);
}

int32_t MemoryRegistry::write_string(RegistryRoot root, std::u16string_view key,
                                     std::u16string_view name, std::u16string_view text) {
    std::lock_guard lock(mutex_);
    (depth_ > 0 ? pending_ : stored_).write_string(root, key, name, text);
    written();
    return registry_result::kSuccess;
}

int32_t MemoryRegistry::write_dword(RegistryRoot root, std::u16string_view key,
                                    std::u16string_view name, uint32_t value) {
    std::lock_guard lock(mutex_);
    (depth_ > 0 ? pending_ : stored_).write_dword(root, key, name, value);
    written();
    return registry_result::kSuccess;
}

void MemoryRegistry::written() {
    if (depth_ > 0) {
        ++pending_writes_;
    } else {
        ++stores_;
    }
}

void MemoryRegistry::begin_update() {
    std::lock_guard lock(mutex_);
    if (depth_++ == 0) pending_ = stored_;
}

int32_t MemoryRegistry::end_update() {
    std::lock_guard lock(mutex_);
    if (depth_ == 0 || --depth_ > 0) return registry_result::kSuccess;
    if (pending_writes_ > 0) {
        stored_ = pending_;
        ++stores_;
        pending_writes_ = 0;
    }
    return registry_result::kSuccess;
}

std::string MemoryRegistry::text() const {
    std::lock_guard lock(mutex_);
    return stored_.serialize();
}

int MemoryRegistry::stores() const {
    std::lock_guard lock(mutex_);
    return stores_;
}

}  // namespace tiltophon
