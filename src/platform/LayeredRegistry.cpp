// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/LayeredRegistry.h"

namespace tiltophon {

int32_t LayeredRegistry::read_string(RegistryRoot root, std::u16string_view key,
                                     std::u16string_view name, char16_t* buffer,
                                     std::size_t capacity) {
    int32_t result = user_.read_string(root, key, name, buffer, capacity);
    if (result != registry_result::kFileNotFound) return result;
    return defaults_.read_string(root, key, name, buffer, capacity);
}

int32_t LayeredRegistry::read_dword(RegistryRoot root, std::u16string_view key,
                                    std::u16string_view name, uint32_t& value) {
    int32_t result = user_.read_dword(root, key, name, value);
    if (result != registry_result::kFileNotFound) return result;
    return defaults_.read_dword(root, key, name, value);
}

}  // namespace tiltophon
