// Fuzzes the reading of everything the Linux edition takes from other programs and
// the system: window name properties with their encoding, frame extents, the
// root visual's pixel layout and image rows, user-dirs.dirs.
// The first byte picks what the rest is read as. Besides the sanitizers' checks,
// each reader's own promises are checked.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "capture/GrabArea.h"
#include "capture/PixelFormat.h"
#include "capture/Text.h"
#include "capture/WindowFrame.h"
#include "capture/WindowName.h"
#include "window/ShellFolders.h"

namespace {

void check(bool promise) {
    if (!promise) std::abort();
}

std::vector<std::uint32_t> words(std::string_view bytes) {
    std::vector<std::uint32_t> values(bytes.size() / 4);
    if (!values.empty()) std::memcpy(values.data(), bytes.data(), values.size() * 4);
    return values;
}

void windowName(skl::NameEncoding encoding, std::string_view bytes) {
    const auto title = skl::decodeWindowName(encoding, bytes);
    if (!title) return;
    check(title->find(L'\0') == skl::Text::npos);
    const auto utf8 = skl::encodeUtf8(*title);
    check(utf8.has_value());
    if (encoding == skl::NameEncoding::Utf8) check(*utf8 == bytes);
    const skl::NameProperty name{true, encoding, bytes, true};
    check(skl::hasTitle(name, {}, *title));
    check(skl::hasTitle({}, name, *title));
    check(!skl::hasTitle({true, encoding, bytes, false}, {}, *title));
}

void frame(std::string_view bytes) {
    const std::vector<std::uint32_t> values = words(bytes);
    const auto extents = skl::frameExtentsFrom(values);
    if (extents) {
        check(values.size() == 4);
        for (const std::int32_t width : {extents->left, extents->right, extents->top, extents->bottom})
            check(width >= 0 && width <= static_cast<std::int32_t>(skl::widestFrame));
    }
    if (values.size() < 3) return;
    // A client geometry as X reports it: 16-bit corner, sizes and border.
    const skl::ClientGeometry client{{static_cast<std::int16_t>(values[0]), static_cast<std::int16_t>(values[0] >> 16)},
                                     static_cast<std::uint16_t>(values[1]), static_cast<std::uint16_t>(values[1] >> 16),
                                     static_cast<std::uint16_t>(values[2])};
    const skl::ScreenRect rect = skl::outerFrame(client, extents);
    check(rect.left <= client.corner.x && rect.right >= rect.left);
    const auto area = skl::grabAreaOf(rect, 1600, 1000);
    if (area) check(area->sourceWidth <= area->width && area->pictureX + area->sourceWidth <= area->width);
}

void pixels(std::string_view bytes) {
    if (bytes.size() < 14) return;
    const std::vector<std::uint32_t> masks = words(bytes.substr(2, 12));
    const auto format = skl::PixelFormat::of(static_cast<unsigned char>(bytes[0]), (bytes[1] & 1) != 0, masks[0],
                                             masks[1], masks[2]);
    if (!format) return;
    const std::string_view row = bytes.substr(14);
    std::vector<std::uint32_t> colours(row.size() / format->bytesPerPixel() + 1, 0xFF000000);
    format->readRow({reinterpret_cast<const std::uint8_t*>(row.data()), row.size()}, colours);
    for (std::size_t i = 0; i + 1 < colours.size(); ++i) check(colours[i] <= 0xFFFFFF);
    check(colours.back() == 0xFF000000);  // nothing written past the row's pixels
}

void userDirs(std::string_view text) {
    for (const skl::UserEnvironment& environment :
         {skl::UserEnvironment{"/home/fuzz", std::nullopt, std::nullopt}, skl::UserEnvironment{}}) {
        const auto folder = skl::desktopFolder(text, environment);
        if (!folder) continue;
        check(!folder->empty() && folder->front() == L'/');
        check(folder->find(L'\0') == skl::Text::npos);
        check(folder->size() == 1 || folder->back() != L'/');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 7) {
        case 0: windowName(skl::NameEncoding::Utf8, rest); break;
        case 1: windowName(skl::NameEncoding::String, rest); break;
        case 2: windowName(skl::NameEncoding::CompoundText, rest); break;
        case 3: windowName(skl::NameEncoding::Unreadable, rest); break;
        case 4: frame(rest); break;
        case 5: pixels(rest); break;
        default: userDirs(rest); break;
    }
    return 0;
}
