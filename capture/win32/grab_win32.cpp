#include "capture/win32/desktop_win32.h"

namespace skl {

BITMAPINFO topDown32(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

namespace {

// The pixels of a bitmap not selected into any device context, read through the
// display context it is compatible with.
Picture readBitmapPixels(HDC display, HBITMAP bitmap, std::int32_t width, std::int32_t height) {
    Picture picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    BITMAPINFO info = topDown32(width, height);
    if (GetDIBits(display, bitmap, 0, static_cast<UINT>(height), picture.pixels.data(), &info, DIB_RGB_COLORS) !=
        height) {
        return {};
    }
    for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;  // BGRA in memory is 0xAARRGGBB
    return picture;
}

}  // namespace

std::unique_ptr<GrabbedBitmap> Win32ScreenGrabber::bitmapOf(Picture picture) {
    return std::make_unique<HeldPicture>(std::move(picture));
}

GrabResult Win32ScreenGrabber::grab(const ScreenRect& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const DeviceContext display(family_ == PlatformFamily::WindowsNT ? CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)
                                                                     : CreateDCW(L"DISPLAY", L"0", L"0", nullptr));
    if (!display) return {nullptr, L"Windows did not open the display for reading."};
    const DeviceContext memory(CreateCompatibleDC(display.get()));
    GdiBitmap bitmap(CreateCompatibleBitmap(display.get(), width, height));
    if (!memory || !bitmap) return {nullptr, L"There was no memory left for the picture."};
    {
        const Selection selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, display.get(), rect.left, rect.top, SRCCOPY)) {
            return {nullptr, L"Windows refused to copy the screen."};
        }
    }
    Picture picture = readBitmapPixels(display.get(), bitmap.get(), width, height);
    if (picture.pixels.empty()) return {nullptr, L"Windows did not give the copied pixels."};
    return {std::make_unique<HeldPicture>(std::move(picture)), {}};
}

}  // namespace skl
