#pragma once
// The benchmark's save folder, and the soak's look at everything saved in it.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/bench/ViewerPicture.h"

namespace skl::bench {

// A new folder of the benchmark's own in the temporary folder; removed with what
// it holds when this ends, unless kept.
class BenchFolder {
public:
    explicit BenchFolder(bool keep);
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    bool keep_;
};

// What one shot was taken of: the frame the viewer showed, where and how large.
struct Shot {
    std::uint32_t frame = 0;
    ScreenPoint corner;
    ScreenPoint size;
};

// Every file saved in the run (shot n under number n), looked at again at the end:
// one file for each shot and nothing else, the times in the order of the numbers,
// each still holding the frame it was saved with. Prints each fault; their number.
int checkSoakFolder(const std::filesystem::path& folder, const std::vector<Shot>& shots, const ViewerClient& client);

}  // namespace skl::bench
