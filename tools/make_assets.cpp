// Writes the window's sixteen picture files into the directory given (assets/).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tools/art/AssetArt.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_assets <assets directory>\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    for (const skl::art::Asset& asset : skl::art::makeAssets()) {
        const std::filesystem::path path = directory / asset.fileName;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(asset.bytes.data()), static_cast<std::streamsize>(asset.bytes.size()));
        out.close();
        if (!out) {
            std::cerr << "make_assets: cannot write " << path.string() << "\n";
            return 1;
        }
    }
    return 0;
}
