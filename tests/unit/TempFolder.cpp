#include "TempFolder.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

namespace skl::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "skellimor-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    fs::permissions(path_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
}

TempFolder::~TempFolder() {
    // Folders a test locked are opened again first, so that all can go.
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
        if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::owner_all, ignored);
    fs::remove_all(path_, ignored);
}

}  // namespace skl::test
