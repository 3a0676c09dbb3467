#include "SnapshotName.h"

#include <cwchar>

namespace skl {

Text formatStamp(const LocalTime& t) {
    wchar_t buffer[32];
    std::swprintf(buffer, std::size(buffer), L"%02d-%02d-%04d %02d-%02d-%02d", t.month, t.day, t.year, t.hour,
                  t.minute, t.second);
    return buffer;
}

Text snapshotFileName(const Text& saveFolder, const Text& id, const Text& stamp, std::int16_t counter) {
    return saveFolder + id + L"-" + stamp + L" " + std::to_wstring(counter) + L".bmp";
}

}  // namespace skl
