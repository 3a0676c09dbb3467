#pragma once
// A fresh folder of a test's own in the system's temporary folder, removed with all
// it holds. Others may enter it (a test may act as another user in it).

#include <filesystem>

namespace skl::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace skl::test
