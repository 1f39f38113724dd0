// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace tiltophon {

// The settings file's contents: registry keys and their values in the registry
// export text format.
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Marrowgate\Tiltophon\Settings]
//   "SoundSlot1Name"="Kick.wav"
//   "SensitivityX"=dword:00000005
//
// Strings escape '\' and '"' with a backslash, and control characters as \n, \r
// or \xHH, so that any name survives a round trip. Key and value names match ignoring letter
// case. Whatever the program does not know (other keys, other values, values of
// other types, comments) is kept and written back as it was; a value that cannot
// be parsed fails its own reads only. When a value appears twice in a key, or a key
// twice in the file, the later one wins and only one copy is written back. Lines
// with control characters (binary junk) are dropped.
class RegistryDocument {
public:
    static RegistryDocument parse(std::string_view text);
    std::string serialize() const;

    // Reads fail as the registry's do: no such key or value, wrong type, or a
    // string that does not fit `capacity` units with its terminator.
    int32_t read_string(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                        char16_t* buffer, std::size_t capacity) const;
    int32_t read_dword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                       uint32_t& value) const;
    void write_string(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                      std::u16string_view text);
    void write_dword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                     uint32_t value);

private:
    enum class Kind { kString, kDword, kUnparsed, kLine };

    // One line (or, for a continued value of another type, several) of a key.
    struct Item {
        Kind kind = Kind::kLine;
        std::u16string name;
        std::u16string text;
        uint32_t number = 0;
        std::string raw;  // kept as read for kUnparsed and kLine
    };

    struct Key {
        std::u16string path;  // without brackets, as written in the file
        std::vector<Item> items;
    };

    const Item* find_value(RegistryRoot root, std::u16string_view key,
                           std::u16string_view name) const;
    Item& value_for_write(RegistryRoot root, std::u16string_view key, std::u16string_view name);
    Key* find_key(std::u16string_view path);
    void add_item(Key& key, Item item);

    std::vector<std::string> preamble_;  // lines before the first key
    std::vector<Key> keys_;
};

}  // namespace tiltophon
