#include "tools/bench/ViewerPicture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "capture/BmpFile.h"
#include "tools/test_picture.h"

namespace skl::bench {
namespace {

std::uint32_t rgbOf(const test_picture::Rgb& c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

}  // namespace

std::size_t differencesFromViewer(const Picture& picture, ScreenPoint corner, const ViewerClient& client,
                                  std::uint32_t frame) {
    std::size_t differences = 0;
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::int32_t clientY = corner.y + y - client.origin.y;
        if (clientY >= client.size.y - test_picture::textBandHeight) break;
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::int32_t clientX = corner.x + x - client.origin.x;
            const bool outside = clientX < 0 || clientY < 0 || clientX >= client.size.x;
            if (outside || picture.at(x, y) != rgbOf(test_picture::pixel(clientX, clientY, frame))) ++differences;
        }
    }
    return differences;
}

std::optional<std::uint32_t> frameOnScreen(ScreenGrabber& grabber, const ViewerClient& client) {
    const std::int32_t y = client.origin.y + test_picture::frameCellsTop + test_picture::frameCellSize / 2;
    const std::int32_t left = client.origin.x + test_picture::frameCellsLeft;
    const auto row = grabber.grab({left, y, left + test_picture::frameBits * test_picture::frameCellSize, y + 1}).bitmap;
    if (!row) return std::nullopt;
    std::uint32_t frame = 0;
    for (int bit = 0; bit < test_picture::frameBits; ++bit) {
        const std::uint32_t cell = row->picture().at(bit * test_picture::frameCellSize + 5, 0);
        if (cell == 0xFFFFFF) {
            frame |= 1u << bit;
        } else if (cell != 0) {
            return std::nullopt;
        }
    }
    return frame;
}

std::optional<Picture> readPictureFile(const Text& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) return std::nullopt;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    return decodeBmp24(bytes);
}

}  // namespace skl::bench
