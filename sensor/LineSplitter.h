// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tiltophon::sensor {

// Cuts a stream of bytes, arriving in pieces of any size, into lines. A line longer
// than kMaxLine is dropped whole, so a stream without newlines costs no memory.
class LineSplitter {
public:
    static constexpr size_t kMaxLine = 256;

    // Calls `on_line(std::string_view)` for every line that `bytes` completes.
    template <typename OnLine>
    void feed(std::string_view bytes, OnLine&& on_line) {
        while (!bytes.empty()) {
            size_t newline = bytes.find('\n');
            std::string_view piece = bytes.substr(0, newline);
            if (!overlong_ && partial_.size() + piece.size() <= kMaxLine) {
                partial_.append(piece);
            } else {
                overlong_ = true;
                partial_.clear();
            }
            if (newline == std::string_view::npos) return;
            if (!overlong_) on_line(std::string_view(partial_));
            partial_.clear();
            overlong_ = false;
            bytes.remove_prefix(newline + 1);
        }
    }

    // The stream ended: hands on an unterminated last line.
    template <typename OnLine>
    void finish(OnLine&& on_line) {
        if (!overlong_ && !partial_.empty()) on_line(std::string_view(partial_));
        drop_partial();
    }

    // The stream broke off: forgets an unterminated line.
    void drop_partial() {
        partial_.clear();
        overlong_ = false;
    }

private:
    std::string partial_;
    bool overlong_ = false;
};

}  // namespace tiltophon::sensor
