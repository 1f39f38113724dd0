// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tiltophon {

enum class RegistryRoot { kLocalMachine };

// Result codes: zero is success.
namespace registry_result {
constexpr int32_t kSuccess = 0;
constexpr int32_t kFileNotFound = 2;   // no such key or value
constexpr int32_t kMoreData = 234;     // the value does not fit the buffer
constexpr int32_t kWrongType = 1630;   // a string read of a number or the other way round
constexpr int32_t kWriteFault = 29;
}  // namespace registry_result

// Typed key-value store with the registry's semantics: every read can fail on its
// own, and a failed read leaves the destination untouched.
class Registry {
public:
    virtual ~Registry() = default;

    // Reads a string value into `buffer` (capacity units including the terminator).
    virtual int32_t read_string(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                                char16_t* buffer, std::size_t capacity) = 0;
    virtual int32_t read_dword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                               uint32_t& value) = 0;
    // Writes one value, creating the key when needed.
    virtual int32_t write_string(RegistryRoot root, std::u16string_view key,
                                 std::u16string_view name, std::u16string_view text) = 0;
    virtual int32_t write_dword(RegistryRoot root, std::u16string_view key,
                                std::u16string_view name, uint32_t value) = 0;

    // Writes between begin_update and end_update reach storage together: a crash
    // leaves either all of them or none. Outside an update every write is stored at once.
    virtual void begin_update() = 0;
    virtual int32_t end_update() = 0;
};

}  // namespace tiltophon
