// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/RegistryAccess.h"

#include "platform/Platform.h"

namespace tiltophon {

int32_t ReadRegistryString(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                           PathText* buffer, const char16_t* default_text) {
    Registry* registry = platform().registry;
    char16_t units[PathText::kCapacity + 1] = {};
    int32_t result = registry_result::kFileNotFound;
    if (registry) result = registry->read_string(root, key, name, units, std::size(units));
    if (result == registry_result::kSuccess) {
        if (buffer) buffer->assign(units);
    } else if (buffer && default_text) {
        buffer->assign(default_text);
    }
    return result;
}

int32_t ReadRegistryDword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                          uint32_t* destination, uint32_t default_value) {
    Registry* registry = platform().registry;
    uint32_t value = 0;
    int32_t result = registry_result::kFileNotFound;
    if (registry) result = registry->read_dword(root, key, name, value);
    if (destination) *destination = result == registry_result::kSuccess ? value : default_value;
    return result;
}

int32_t WriteRegistryString(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                            std::u16string_view text) {
    Registry* registry = platform().registry;
    return registry ? registry->write_string(root, key, name, text) : registry_result::kWriteFault;
}

int32_t WriteRegistryDword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                           uint32_t value) {
    Registry* registry = platform().registry;
    return registry ? registry->write_dword(root, key, name, value) : registry_result::kWriteFault;
}

}  // namespace tiltophon
