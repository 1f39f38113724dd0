// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Registry.h"
#include "platform/Text.h"

namespace tiltophon {

// One value of the registry at a time, through the platform's registry. Each
// returns the registry's result code (zero is success); without a registry every
// read fails and every write reports a write fault.

// On a failed read, copies `default_text` into `buffer` when both are given; a
// value that does not fit the buffer counts as a failed read.
int32_t ReadRegistryString(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                           PathText* buffer, const char16_t* default_text);
// On a failed read, stores `default_value` in `destination` when it is given.
int32_t ReadRegistryDword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                          uint32_t* destination, uint32_t default_value);
int32_t WriteRegistryString(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                            std::u16string_view text);
int32_t WriteRegistryDword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                           uint32_t value);

}  // namespace tiltophon
