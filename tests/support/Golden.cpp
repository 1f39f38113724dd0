// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/Golden.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Text.h"
#include "platform/media/PngImageCodec.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/CiSkip.h"

namespace tiltophon::test {

namespace {

namespace fs = std::filesystem;

fs::path failures_folder() {
    PosixFileSystem files;
    return fs::path(utf8_from_utf16(files.program_path())).parent_path() / "golden-failures";
}

bool save(const Bitmap& bitmap, const fs::path& path) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    return PngImageCodec::save_png(bitmap, utf16_from_utf8(path.string()));
}

// The reference dimmed to a third, with the pixels that differ in full red.
Bitmap difference(const Bitmap& expected, const Bitmap& actual) {
    Bitmap diff(expected.width(), expected.height());
    for (int32_t y = 0; y < diff.height(); ++y) {
        for (int32_t x = 0; x < diff.width(); ++x) {
            const uint32_t e = expected.pixel(x, y);
            const bool same = x < actual.width() && y < actual.height() && actual.pixel(x, y) == e;
            diff.set_pixel(x, y, same ? 0xFF000000u | ((e >> 2) & 0x3F3F3F) : 0xFFFF0000u);
        }
    }
    return diff;
}

}  // namespace

::testing::AssertionResult matches_golden(const Bitmap& actual, std::string_view name) {
    const std::string file = std::string(name) + ".png";
    const fs::path golden = fs::path(TILTOPHON_SOURCE_DIR) / "tests" / "golden" / file;

    const char* update = std::getenv("TILTOPHON_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        // A run that rewrites its references compares nothing, so it must never pass CI.
        if (running_in_ci()) {
            return ::testing::AssertionFailure()
                   << "TILTOPHON_UPDATE_GOLDEN is refused under CI=true: it would pass without comparing";
        }
        if (!save(actual, golden)) {
            return ::testing::AssertionFailure() << "cannot write " << golden;
        }
        return ::testing::AssertionSuccess() << "wrote " << golden;
    }

    PngImageCodec codec;
    const auto expected = codec.load_png(utf16_from_utf8(golden.string()));
    std::string problem;
    int32_t differing = 0;
    if (!expected) {
        problem = "no reference image " + golden.string() +
                  " (run with TILTOPHON_UPDATE_GOLDEN=1 to make it)";
    } else if (expected->width() != actual.width() || expected->height() != actual.height()) {
        problem = "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) +
                  ", reference " + std::to_string(expected->width()) + "x" +
                  std::to_string(expected->height());
    } else {
        for (int32_t y = 0; y < actual.height(); ++y) {
            for (int32_t x = 0; x < actual.width(); ++x) {
                differing += actual.pixel(x, y) != expected->pixel(x, y);
            }
        }
        if (differing == 0) return ::testing::AssertionSuccess();
        problem = std::to_string(differing) + " pixels differ from " + golden.string();
    }

    const fs::path folder = failures_folder();
    const fs::path err = folder / (std::string(name) + "_err.png");
    save(actual, err);
    std::string written = err.string();
    if (expected) {
        const fs::path diff = folder / (std::string(name) + "_diff.png");
        save(difference(*expected, actual), diff);
        written += " and " + diff.string();
    }
    return ::testing::AssertionFailure() << name << ": " << problem << "; wrote " << written;
}

}  // namespace tiltophon::test
