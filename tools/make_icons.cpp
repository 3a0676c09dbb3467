// Writes the window icon at every size desktops use, as 24-bit BMP files named
// after their size (16.bmp, 24.bmp, ...), into the directory given; the Debian
// package turns them into its icon theme's PNG files.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "capture/BmpFile.h"
#include "tools/art/Pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icons <directory>\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    for (const int size : skl::art::desktopIconSizes) {
        const std::vector<std::uint8_t> bytes = skl::encodeBmp24(skl::art::windowIconAt(size));
        const std::filesystem::path path = directory / (std::to_string(size) + ".bmp");
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::cerr << "make_icons: cannot write " << path.string() << "\n";
            return 1;
        }
    }
    return 0;
}
