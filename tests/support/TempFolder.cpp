#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/Text.h"

namespace tiltophon::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tiltophon-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::u16string TempFolder::folder() const { return utf16_from_utf8(root_ + "/"); }

}  // namespace tiltophon::test
