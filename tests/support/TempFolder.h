#pragma once

#include <string>

namespace tiltophon::test {

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& root() const { return root_; }
    // root/name
    std::string path(const std::string& name) const { return root_ + "/" + name; }
    // root/ as UTF-16, with the trailing separator that the program's folders carry.
    std::u16string folder() const;

private:
    std::string root_;
};

}  // namespace tiltophon::test
