// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Registry.h"

namespace tiltophon {

// The user's registry over a read-only one of defaults (the program folder's
// Defaults.reg): a value the user's store does not have at all is read from the
// defaults, so a first start gets the defaults' choices. A value the user's store has
// but cannot give (the wrong type, too long) fails as it would alone, and the
// caller's own default applies. Writes and updates go to the user's store only, so
// the defaults are never changed and stop mattering once the user has a value.
class LayeredRegistry : public Registry {
public:
    LayeredRegistry(Registry& user, Registry& defaults) : user_(user), defaults_(defaults) {}

    int32_t read_string(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                        char16_t* buffer, std::size_t capacity) override;
    int32_t read_dword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                       uint32_t& value) override;
    int32_t write_string(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                         std::u16string_view text) override {
        return user_.write_string(root, key, name, text);
    }
    int32_t write_dword(RegistryRoot root, std::u16string_view key, std::u16string_view name,
                        uint32_t value) override {
        return user_.write_dword(root, key, name, value);
    }
    void begin_update() override { user_.begin_update(); }
    int32_t end_update() override { return user_.end_update(); }

private:
    Registry& user_;
    Registry& defaults_;
};

}  // namespace tiltophon
