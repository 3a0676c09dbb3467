#pragma once
// Every picture file of the window, by file name, as the generator writes it into assets/.

#include <cstdint>
#include <string>
#include <vector>

namespace skl::art {

struct Asset {
    std::string fileName;
    std::vector<std::uint8_t> bytes;
};

std::vector<Asset> makeAssets();

}  // namespace skl::art
