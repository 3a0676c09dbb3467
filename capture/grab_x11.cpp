#include <algorithm>
#include <span>

#include "capture/GrabArea.h"
#include "capture/desktop_x11.h"
#include "capture/image_layout_x11.h"
#include "capture/shared_image_x11.h"

namespace skl {
namespace {

// A grab holds nothing of the X server's: just the picture, which the window's
// clipboard copies from.
class HeldPicture final : public GrabbedBitmap {
public:
    explicit HeldPicture(Picture picture) : picture_(std::move(picture)) {}
    const Picture& picture() const override { return picture_; }

private:
    Picture picture_;
};

// Copies the rows of an image the server sent, laid out as `layout` says, into the
// picture at the area's place.
bool copyRows(const ImageLayout& layout, const GrabArea& area, std::span<const std::uint8_t> data, Picture& picture) {
    const auto width = static_cast<std::size_t>(area.sourceWidth);
    const auto height = static_cast<std::size_t>(area.sourceHeight);
    const std::size_t stride = layout.rowBytes(width);
    if (data.size() < stride * height) return false;

    const std::span<std::uint32_t> pixels(picture.pixels);
    const auto pictureWidth = static_cast<std::size_t>(picture.width);
    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t start = (static_cast<std::size_t>(area.pictureY) + row) * pictureWidth +
                                  static_cast<std::size_t>(area.pictureX);
        layout.format.readRow(data.subspan(row * stride, stride), pixels.subspan(start, width));
    }
    return true;
}

// The area's on-screen part through the connection's socket.
bool copyThroughSocket(const XcbConnection& x, const ImageLayout& layout, const GrabArea& area, Picture& picture) {
    xcb_connection_t* const connection = x.get();
    const auto image = replyTo<xcb_get_image_reply>(
        connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, x.root(),
                                  static_cast<std::int16_t>(area.sourceX), static_cast<std::int16_t>(area.sourceY),
                                  static_cast<std::uint16_t>(area.sourceWidth),
                                  static_cast<std::uint16_t>(area.sourceHeight), ~0u));
    if (!image) return false;
    return copyRows(layout, area,
                    {xcb_get_image_data(image.get()), static_cast<std::size_t>(xcb_get_image_data_length(image.get()))},
                    picture);
}

// The same through memory shared with the server.
bool copyThroughSharedMemory(const XcbConnection& x, const SharedImageMemory& shared, const ImageLayout& layout,
                             const GrabArea& area, Picture& picture) {
    xcb_connection_t* const connection = x.get();
    const auto image = replyTo<xcb_shm_get_image_reply>(
        connection, xcb_shm_get_image(connection, x.root(), static_cast<std::int16_t>(area.sourceX),
                                      static_cast<std::int16_t>(area.sourceY),
                                      static_cast<std::uint16_t>(area.sourceWidth),
                                      static_cast<std::uint16_t>(area.sourceHeight), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                      shared.segment(), 0));
    if (!image) return false;
    return copyRows(layout, area, shared.bytes().first(std::min<std::size_t>(image->size, shared.bytes().size())),
                    picture);
}

}  // namespace

X11ScreenGrabber::X11ScreenGrabber(const XcbConnection& connection) : x_(connection) {}

X11ScreenGrabber::~X11ScreenGrabber() = default;

const SharedImageMemory* X11ScreenGrabber::sharedMemoryFor(std::size_t size) {
    if (sharedMemoryRefused_) return nullptr;
    if (!shared_ || shared_->bytes().size() < size) {
        shared_ = SharedImageMemory::attach(x_, size);
        sharedMemoryRefused_ = shared_ == nullptr;  // refused once, the socket serves from then on
    }
    return shared_.get();
}

std::unique_ptr<GrabbedBitmap> X11ScreenGrabber::bitmapOf(Picture picture) {
    return std::make_unique<HeldPicture>(std::move(picture));
}

std::unique_ptr<GrabbedBitmap> X11ScreenGrabber::grab(const ScreenRect& rect) {
    const std::optional<ImageLayout> layout = rootImageLayout(x_);
    if (!layout) return nullptr;
    const RootSize screen = x_.rootSize();
    // X coordinates are 16-bit: no screen reaches beyond the largest grab.
    const std::optional<GrabArea> area = grabAreaOf(rect, std::min<std::int32_t>(screen.width, largestGrabSide),
                                                    std::min<std::int32_t>(screen.height, largestGrabSide));
    if (!area) return nullptr;

    Picture picture{area->width, area->height,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(area->width) * area->height, 0)};  // black
    if (area->sourceWidth > 0) {
        const std::size_t size =
            layout->rowBytes(static_cast<std::size_t>(area->sourceWidth)) * static_cast<std::size_t>(area->sourceHeight);
        const SharedImageMemory* shared = sharedMemoryFor(size);
        const bool copied = (shared != nullptr && copyThroughSharedMemory(x_, *shared, *layout, *area, picture)) ||
                            copyThroughSocket(x_, *layout, *area, picture);
        if (!copied) return nullptr;
    }
    return std::make_unique<HeldPicture>(std::move(picture));
}

}  // namespace skl
