// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/MessageCatalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace tiltophon {

namespace {

constexpr uint32_t kMagic = 0x950412DE;
constexpr uint32_t kSwappedMagic = 0xDE120495;

class CatalogueReader {
public:
    explicit CatalogueReader(std::string_view bytes) : bytes_(bytes) {}

    bool read_magic() {
        uint32_t magic = 0;
        swapped_ = false;
        if (!word(0, magic)) return false;
        if (magic == kSwappedMagic) {
            swapped_ = true;
            return true;
        }
        return magic == kMagic;
    }

    // The 32-bit word at `offset`, in the file's byte order; false past the end.
    bool word(uint64_t offset, uint32_t& value) const {
        if (offset + 4 > bytes_.size()) return false;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + offset);
        value = swapped_ ? (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]
                         : (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        return true;
    }

    // A table of `count` (length, offset) pairs at `table`, each naming a string that
    // lies inside the file and ends with a zero byte.
    bool strings_sound(uint32_t table, uint32_t count) const {
        if (table % 4 != 0 || uint64_t{table} + uint64_t{count} * 8 > bytes_.size()) return false;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t length = 0;
            uint32_t offset = 0;
            word(uint64_t{table} + uint64_t{i} * 8, length);
            word(uint64_t{table} + uint64_t{i} * 8 + 4, offset);
            if (uint64_t{offset} + length >= bytes_.size() || bytes_[offset + length] != '\0') {
                return false;
            }
        }
        return true;
    }

    // Every filled entry of the hash table names one of the `count` strings.
    bool hash_sound(uint32_t table, uint32_t size, uint32_t count) const {
        if (size == 0) return true;
        if (table % 4 != 0 || uint64_t{table} + uint64_t{size} * 4 > bytes_.size()) return false;
        for (uint32_t i = 0; i < size; ++i) {
            uint32_t entry = 0;
            word(uint64_t{table} + uint64_t{i} * 4, entry);
            if (entry > count) return false;
        }
        return true;
    }

private:
    std::string_view bytes_;
    bool swapped_ = false;
};

std::string normalised_codeset(std::string_view codeset) {
    std::string out;
    bool digits_only = true;
    for (char c : codeset) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            digits_only = digits_only && std::isdigit(static_cast<unsigned char>(c));
        }
    }
    return digits_only && !out.empty() ? "iso" + out : out;
}

}  // namespace

bool is_sound_catalogue(std::string_view bytes) {
    if (bytes.size() < 28 || bytes.size() > kLargestCatalogue) return false;
    CatalogueReader reader(bytes);
    if (!reader.read_magic()) return false;
    uint32_t revision = 0, count = 0, originals = 0, translations = 0, hash_size = 0, hash = 0;
    reader.word(4, revision);
    reader.word(8, count);
    reader.word(12, originals);
    reader.word(16, translations);
    reader.word(20, hash_size);
    reader.word(24, hash);
    // Revision 1 adds system-dependent strings, which msgfmt writes only for formats
    // that this program's captions never have.
    if ((revision >> 16) != 0) return false;
    return reader.strings_sound(originals, count) && reader.strings_sound(translations, count) &&
           reader.hash_sound(hash, hash_size, count);
}

std::vector<std::string> catalogue_folders(std::string_view language) {
    const std::size_t at = language.find('@');
    const std::string_view modifier = at == std::string_view::npos ? "" : language.substr(at);
    language = language.substr(0, at);
    const std::size_t dot = language.find('.');
    const std::string_view codeset = dot == std::string_view::npos ? "" : language.substr(dot + 1);
    language = language.substr(0, dot);
    const std::size_t underscore = language.find('_');
    const std::string_view territory =
        underscore == std::string_view::npos ? "" : language.substr(underscore);
    const std::string_view base = language.substr(0, underscore);

    std::vector<std::string> codesets = {""};
    if (!codeset.empty()) {
        codesets.push_back("." + std::string(codeset));
        codesets.push_back("." + normalised_codeset(codeset));
    }
    std::vector<std::string> folders;
    for (std::string_view t : {std::string_view(), territory}) {
        for (const std::string& c : codesets) {
            for (std::string_view m : {std::string_view(), modifier}) {
                std::string name = std::string(base) + std::string(t) + c + std::string(m);
                if (std::find(folders.begin(), folders.end(), name) == folders.end()) {
                    folders.push_back(std::move(name));
                }
            }
        }
    }
    return folders;
}

}  // namespace tiltophon
