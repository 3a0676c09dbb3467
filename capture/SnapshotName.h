#pragma once
// How a snapshot file is named: folder, ID, "-", stamp, " ", number, ".bmp".

#include <cstdint>

#include "Text.h"

namespace skl {

struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;   // 0-23
    int minute = 0;
    int second = 0;
};

// "mm-dd-yyyy hh-nn-ss": month, day, four-digit year, 24-hour clock, with literal
// separators whatever the regional settings are.
Text formatStamp(const LocalTime& time);

Text snapshotFileName(const Text& saveFolder, const Text& id, const Text& stamp, std::int16_t counter);

}  // namespace skl
