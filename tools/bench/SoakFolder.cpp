#include "tools/bench/SoakFolder.h"

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <system_error>

#include "tools/bench/Figures.h"
#include "tools/bench/Stopwatch.h"

namespace skl::bench {
namespace {

// The number at the end of a saved file's name ("... 12.bmp"); nothing for another name.
std::optional<std::size_t> shotNumberOf(const Text& name) {
    const std::size_t space = name.rfind(L' ');
    const Text suffix = L".bmp";
    if (space == Text::npos || name.size() < suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return std::nullopt;
    }
    const Text digits = name.substr(space + 1, name.size() - suffix.size() - space - 1);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of(L"0123456789") != Text::npos) {
        return std::nullopt;
    }
    return std::stoul(digits);
}

// mm-dd-yyyy hh-nn-ss, the 19 characters before the number, ordered by year first.
std::optional<Text> stampKey(const Text& name) {
    const std::size_t space = name.rfind(L' ');
    if (space == Text::npos || space < 19) return std::nullopt;
    const Text stamp = name.substr(space - 19, 19);
    return stamp.substr(6, 4) + stamp.substr(0, 5) + stamp.substr(10);
}

}  // namespace

BenchFolder::BenchFolder(bool keep) : keep_(keep) {
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    const auto start = static_cast<unsigned long long>(nowMs() * 1000);
    for (unsigned long long attempt = start;; ++attempt) {
        path_ = temporary / ("skellimor-bench-" + std::to_string(attempt));
        if (std::filesystem::create_directory(path_)) break;  // throws where it cannot be made at all
    }
}

BenchFolder::~BenchFolder() {
    if (keep_) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

int checkSoakFolder(const std::filesystem::path& folder, const std::vector<Shot>& shots, const ViewerClient& client) {
    int faults = 0;
    std::map<std::size_t, std::filesystem::path> numbered;
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const Text name = entry.path().filename().wstring();
        const auto number = shotNumberOf(name);
        if (!number || *number >= shots.size()) {
            std::printf("FAULT: the folder holds %s, which no shot saved\n", narrow(name).c_str());
            ++faults;
        } else if (!numbered.emplace(*number, entry.path()).second) {
            std::printf("FAULT: two files carry the number %zu\n", *number);
            ++faults;
        }
    }
    if (files != shots.size()) {
        std::printf("FAULT: the folder holds %zu files, %zu were saved\n", files, shots.size());
        ++faults;
    }
    std::optional<Text> previousStamp;
    for (std::size_t i = 0; i < shots.size(); ++i) {
        const auto found = numbered.find(i);
        if (found == numbered.end()) {
            std::printf("FAULT: no file carries the number %zu\n", i);
            ++faults;
            continue;
        }
        const Text name = found->second.filename().wstring();
        const auto picture = readPictureFile(found->second.wstring());
        if (!picture || picture->width != shots[i].size.x || picture->height != shots[i].size.y ||
            differencesFromViewer(*picture, shots[i].corner, client, shots[i].frame) != 0) {
            std::printf("FAULT: %s no longer holds frame %u\n", narrow(name).c_str(), shots[i].frame);
            ++faults;
        }
        const auto stamp = stampKey(name);
        if (stamp && previousStamp && *stamp < *previousStamp) {
            std::printf("FAULT: shot %zu carries an earlier time than the shot before it\n", i);
            ++faults;
        }
        if (stamp) previousStamp = stamp;
    }
    return faults;
}

}  // namespace skl::bench
