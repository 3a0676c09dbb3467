#include "tools/bench/Figures.h"

#include <algorithm>
#include <cstdio>

namespace skl::bench {

std::string narrow(const Text& text) {
    std::string out;
    for (const wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size()) + 0.999999);
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

void printTable(const std::vector<Figure>& figures) {
    std::printf("| %-60s | %9s | %9s | %9s | %5s |\n", "stage (ms)", "median", "p99", "max", "n");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(62, '-').c_str(), std::string(11, '-').c_str(),
                std::string(11, '-').c_str(), std::string(11, '-').c_str(), std::string(7, '-').c_str());
    for (const Figure& figure : figures) {
        const double maximum = figure.values.empty() ? 0 : *std::max_element(figure.values.begin(), figure.values.end());
        std::printf("| %-60s | %9.3f | %9.3f | %9.3f | %5zu |\n", figure.name.c_str(), median(figure.values),
                    percentile(figure.values, 0.99), maximum, figure.values.size());
    }
}

void printResources(const std::vector<std::pair<std::string, Resources>>& readings, const std::string& legend) {
    if (readings.empty()) return;
    const Resources& columns = readings.front().second;
    std::printf("| %-28s |", "resources");
    for (const ResourceCount& column : columns) std::printf(" %10s |", column.name.c_str());
    std::printf("\n|%s|", std::string(30, '-').c_str());
    for (const ResourceCount& column : columns) {
        std::printf("%s|", std::string(std::max<std::size_t>(column.name.size(), 10) + 2, '-').c_str());
    }
    std::printf("\n");
    for (const auto& [when, resources] : readings) {
        std::printf("| %-28s |", when.c_str());
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int width = static_cast<int>(std::max<std::size_t>(columns[i].name.size(), 10));
            if (i < resources.size()) {
                std::printf(" %*llu |", width, static_cast<unsigned long long>(resources[i].value));
            } else {
                std::printf(" %*s |", width, "");
            }
        }
        std::printf("\n");
    }
    std::printf("(%s)\n", legend.c_str());
}

}  // namespace skl::bench
