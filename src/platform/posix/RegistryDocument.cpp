// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/RegistryDocument.h"

#include <optional>

#include "platform/Text.h"

namespace tiltophon {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHeaderV5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::u16string_view root_name(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::kLocalMachine:
            return u"HKEY_LOCAL_MACHINE";
    }
    return u"HKEY_LOCAL_MACHINE";
}

// "Root\Sub\Key" for a key as the program names it ("\System\..." or "Software\...").
std::u16string full_path(RegistryRoot root, std::u16string_view key) {
    while (!key.empty() && key.front() == u'\\') key.remove_prefix(1);
    while (!key.empty() && key.back() == u'\\') key.remove_suffix(1);
    std::u16string path(root_name(root));
    if (!key.empty()) {
        path += u'\\';
        path += key;
    }
    return path;
}

bool same_name(std::u16string_view a, std::u16string_view b) {
    return compare_ignoring_case(a, b) == 0;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

bool has_control_bytes(std::string_view line) {
    for (unsigned char c : line) {
        if (c < 0x20 && c != '\t') return true;
        if (c == 0x7F) return true;
    }
    return false;
}

bool starts_with_ignoring_case(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i];
        if (a != prefix[i]) return false;
    }
    return true;
}

// One to eight hex digits.
std::optional<uint32_t> parse_hex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = static_cast<uint32_t>(c - 'A' + 10);
        else
            return std::nullopt;
        value = (value << 4) | d;
    }
    return value;
}

std::string hex8(uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return out;
}

// A quoted string starting at s[pos] == '"'. On success `pos` is past the closing
// quote. Unknown escapes make the string unparsable.
std::optional<std::string> parse_quoted(std::string_view s, std::size_t& pos) {
    std::string out;
    std::size_t i = pos + 1;
    while (i < s.size()) {
        char c = s[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= s.size()) return std::nullopt;
            char e = s[i + 1];
            switch (e) {
                case '\\':
                    out += '\\';
                    break;
                case '"':
                    out += '"';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'x': {
                    std::optional<uint32_t> byte =
                        i + 3 < s.size() ? parse_hex(s.substr(i + 2, 2)) : std::nullopt;
                    if (!byte) return std::nullopt;
                    out += static_cast<char>(*byte);
                    i += 4;
                    continue;
                }
                default:
                    return std::nullopt;
            }
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    return std::nullopt;
}

std::optional<uint32_t> parse_dword(std::string_view digits) {
    return parse_hex(trim(digits));
}

std::string quote(std::u16string_view text) {
    std::string out = "\"";
    for (char c : utf8_from_utf16(text)) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
                    out += "\\x" + hex8(static_cast<unsigned char>(c)).substr(6);
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

std::string name_field(std::u16string_view name) {
    return name.empty() ? "@" : quote(name);
}

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

RegistryDocument RegistryDocument::parse(std::string_view text) {
    RegistryDocument doc;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());

    LineReader reader(text);
    Key* current = nullptr;
    std::string_view line;
    bool header_seen = false;
    while (reader.next(line)) {
        if (has_control_bytes(line)) continue;
        std::string_view content = trim(line);
        if (content.empty()) continue;
        if (!header_seen && (content == kHeader || content == kHeaderV5)) {
            header_seen = true;
            continue;
        }
        header_seen = true;

        if (content.front() == '[' && content.back() == ']' && content.size() > 2) {
            std::u16string path = utf16_from_utf8(content.substr(1, content.size() - 2));
            while (!path.empty() && path.back() == u'\\') path.pop_back();
            current = doc.find_key(path);
            if (!current) {
                doc.keys_.push_back({path, {}});
                current = &doc.keys_.back();
            }
            continue;
        }
        if (!current) {
            doc.preamble_.emplace_back(content);
            continue;
        }

        Item item;
        item.raw = std::string(content);
        std::size_t pos = 0;
        std::optional<std::string> name;
        if (content.front() == '@') {
            name = std::string();
            pos = 1;
        } else if (content.front() == '"') {
            name = parse_quoted(content, pos);
        }
        while (name && pos < content.size() && is_blank(content[pos])) ++pos;
        if (!name || pos >= content.size() || content[pos] != '=') {
            current->items.push_back(std::move(item));  // a comment or a line we do not know
            continue;
        }
        item.name = utf16_from_utf8(*name);
        std::string_view data = trim(content.substr(pos + 1));

        item.kind = Kind::kUnparsed;
        if (!data.empty() && data.front() == '"') {
            std::size_t end = 0;
            std::optional<std::string> value = parse_quoted(data, end);
            if (value && trim(data.substr(end)).empty()) {
                item.kind = Kind::kString;
                item.text = utf16_from_utf8(*value);
            }
        } else if (starts_with_ignoring_case(data, "dword:")) {
            if (std::optional<uint32_t> value = parse_dword(data.substr(6))) {
                item.kind = Kind::kDword;
                item.number = *value;
            }
        } else {
            // Other types (hex, expandable strings...) may go on over continued lines.
            std::string_view continued;
            while (!item.raw.empty() && item.raw.back() == '\\' && reader.next(continued)) {
                if (has_control_bytes(continued)) break;
                item.raw += '\n';
                item.raw += continued;
            }
        }
        doc.add_item(*current, std::move(item));
    }
    return doc;
}

std::string RegistryDocument::serialize() const {
    std::string out(kHeader);
    out += '\n';
    for (const std::string& line : preamble_) {
        out += line;
        out += '\n';
    }
    for (const Key& key : keys_) {
        out += "\n[";
        out += utf8_from_utf16(key.path);
        out += "]\n";
        for (const Item& item : key.items) {
            switch (item.kind) {
                case Kind::kString:
                    out += name_field(item.name) + "=" + quote(item.text);
                    break;
                case Kind::kDword:
                    out += name_field(item.name) + "=dword:" + hex8(item.number);
                    break;
                case Kind::kUnparsed:
                case Kind::kLine:
                    out += item.raw;
                    break;
            }
            out += '\n';
            // A value whose continuation was cut off (by the end of the file or a junk
            // line) still ends with the continuation mark. The empty line that follows
            // it is what the next read continues it with; without it, that read would
            // take the line after it, perhaps a value written since, as part of it.
            if (item.kind == Kind::kUnparsed && !item.raw.empty() && item.raw.back() == '\\') {
                out += '\n';
            }
        }
    }
    return out;
}

void RegistryDocument::add_item(Key& key, Item item) {
    for (Item& existing : key.items) {
        if (existing.kind != Kind::kLine && same_name(existing.name, item.name)) {
            existing = std::move(item);
            return;
        }
    }
    key.items.push_back(std::move(item));
}

RegistryDocument::Key* RegistryDocument::find_key(std::u16string_view path) {
    for (Key& key : keys_) {
        if (same_name(key.path, path)) return &key;
    }
    return nullptr;
}

const RegistryDocument::Item* RegistryDocument::find_value(RegistryRoot root,
                                                           std::u16string_view key,
                                                           std::u16string_view name) const {
    std::u16string path = full_path(root, key);
    for (const Key& k : keys_) {
        if (!same_name(k.path, path)) continue;
        for (const Item& item : k.items) {
            if (item.kind != Kind::kLine && same_name(item.name, name)) return &item;
        }
        return nullptr;
    }
    return nullptr;
}

RegistryDocument::Item& RegistryDocument::value_for_write(RegistryRoot root,
                                                          std::u16string_view key,
                                                          std::u16string_view name) {
    std::u16string path = full_path(root, key);
    Key* k = find_key(path);
    if (!k) {
        keys_.push_back({path, {}});
        k = &keys_.back();
    }
    for (Item& item : k->items) {
        if (item.kind != Kind::kLine && same_name(item.name, name)) return item;
    }
    Item& item = k->items.emplace_back();
    item.name = std::u16string(name);
    return item;
}

int32_t RegistryDocument::read_string(RegistryRoot root, std::u16string_view key,
                                      std::u16string_view name, char16_t* buffer,
                                      std::size_t capacity) const {
    const Item* item = find_value(root, key, name);
    if (!item) return registry_result::kFileNotFound;
    if (item->kind != Kind::kString) return registry_result::kWrongType;
    if (!buffer || item->text.size() + 1 > capacity) return registry_result::kMoreData;
    item->text.copy(buffer, item->text.size());
    buffer[item->text.size()] = 0;
    return registry_result::kSuccess;
}

int32_t RegistryDocument::read_dword(RegistryRoot root, std::u16string_view key,
                                     std::u16string_view name, uint32_t& value) const {
    const Item* item = find_value(root, key, name);
    if (!item) return registry_result::kFileNotFound;
    if (item->kind != Kind::kDword) return registry_result::kWrongType;
    value = item->number;
    return registry_result::kSuccess;
}

void RegistryDocument::write_string(RegistryRoot root, std::u16string_view key,
                                    std::u16string_view name, std::u16string_view text) {
    Item& item = value_for_write(root, key, name);
    item.kind = Kind::kString;
    item.text = std::u16string(text);
    item.raw.clear();
}

void RegistryDocument::write_dword(RegistryRoot root, std::u16string_view key,
                                   std::u16string_view name, uint32_t value) {
    Item& item = value_for_write(root, key, name);
    item.kind = Kind::kDword;
    item.number = value;
    item.text.clear();
    item.raw.clear();
}

}  // namespace tiltophon
