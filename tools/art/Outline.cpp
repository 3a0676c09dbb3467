#include "Outline.h"

#include "Canvas.h"

namespace skl::art {

void fillOutlined(Picture& picture, const std::function<bool(int x, int y)>& inside, std::uint32_t outline,
                  std::uint32_t fill) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (!inside(x, y)) continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            setPixel(picture, x, y, edge ? outline : fill);
        }
    }
}

}  // namespace skl::art
