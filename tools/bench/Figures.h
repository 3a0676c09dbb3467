#pragma once
// The benchmark's tables: timings as median, 99th percentile and maximum, and the
// process's resources at a few moments of the run.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "capture/Text.h"

namespace skl::bench {

// The text in ASCII for the printed tables and messages; other characters as '?'.
std::string narrow(const Text& text);

struct Figure {
    std::string name;
    std::vector<double> values;  // milliseconds
};

double median(std::vector<double> values);
// The smallest value that at least this fraction of the values does not exceed.
double percentile(std::vector<double> values, double fraction);

void printTable(const std::vector<Figure>& figures);

// One count of what the process holds, as its platform measures it.
struct ResourceCount {
    std::string name;
    std::uint64_t value;
};
using Resources = std::vector<ResourceCount>;

// One row for each moment; the columns are the first reading's names.
void printResources(const std::vector<std::pair<std::string, Resources>>& readings, const std::string& legend);

}  // namespace skl::bench
