#include "capture/x11/grab_x11.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <span>

#include "capture/GrabArea.h"
#include "capture/posix/descriptor_posix.h"
#include "capture/x11/image_layout_x11.h"

namespace skl {

// Where an image comes from: a window (the root for the screen) and how its pixels
// are laid out.
struct ImageSource {
    xcb_drawable_t drawable;
    ImageLayout layout;
};

namespace {

// Whether the server offers shared memory passed as a descriptor (MIT-SHM 1.2).
bool serverSharesMemoryByDescriptor(const XcbConnection& x) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(x.get(), &xcb_shm_id);
    if (extension == nullptr || extension->present == 0) return false;
    const auto version = replyTo<xcb_shm_query_version_reply>(x.get(), xcb_shm_query_version(x.get()));
    return version && (version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 2));
}

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

// The area's visible part through the connection's socket.
bool copyThroughSocket(const XcbConnection& x, const ImageSource& source, const GrabArea& area, Picture& picture) {
    xcb_connection_t* const connection = x.get();
    const auto image = replyTo<xcb_get_image_reply>(
        connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, source.drawable,
                                  static_cast<std::int16_t>(area.sourceX), static_cast<std::int16_t>(area.sourceY),
                                  static_cast<std::uint16_t>(area.sourceWidth),
                                  static_cast<std::uint16_t>(area.sourceHeight), ~0u));
    if (!image) return false;
    return copyRows(source.layout, area,
                    {xcb_get_image_data(image.get()), static_cast<std::size_t>(xcb_get_image_data_length(image.get()))},
                    picture);
}

// The same through memory shared with the server.
bool copyThroughSharedMemory(const XcbConnection& x, const SharedImageMemory& shared, const ImageSource& source,
                             const GrabArea& area, Picture& picture) {
    xcb_connection_t* const connection = x.get();
    const auto image = replyTo<xcb_shm_get_image_reply>(
        connection, xcb_shm_get_image(connection, source.drawable, static_cast<std::int16_t>(area.sourceX),
                                      static_cast<std::int16_t>(area.sourceY),
                                      static_cast<std::uint16_t>(area.sourceWidth),
                                      static_cast<std::uint16_t>(area.sourceHeight), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                      shared.segment(), 0));
    if (!image) return false;
    return copyRows(source.layout, area, shared.bytes().first(std::min<std::size_t>(image->size, shared.bytes().size())),
                    picture);
}

// The server of a Wayland session (XWayland) answers a read of the screen with an
// error: it does not have the screen's pixels.
const Text refusedMessage =
    L"The X server refused to copy the screen. In a Wayland session the X server does not have the screen's "
    L"pixels.";

const Text viewerGoneMessage = L"The webcam window closed before its picture could be copied.";
const Text unreadableFormatMessage = L"The X server's pixels come in a format the program cannot read.";
const Text brokenConnectionMessage = L"The connection to the X server has broken.";
const Text unaddressableMessage = L"The rectangle lies beyond what X can address.";

}  // namespace

std::unique_ptr<SharedImageMemory> SharedImageMemory::attach(const XcbConnection& x, std::size_t size) {
    if (!x.connected() || !serverSharesMemoryByDescriptor(x)) return nullptr;
    FileDescriptor fd(memfd_create("skellimor-grab", MFD_CLOEXEC));
    if (!fd.valid() || ftruncate(fd.get(), static_cast<off_t>(size)) != 0) return nullptr;
    void* const memory = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd.get(), 0);
    if (memory == MAP_FAILED) return nullptr;

    xcb_connection_t* const connection = x.get();
    const xcb_shm_seg_t segment = xcb_generate_id(connection);
    // xcb sends the descriptor and closes it; the mapping stays ours.
    const xcb_void_cookie_t cookie = xcb_shm_attach_fd_checked(connection, segment, fd.release(), 0);
    if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
        std::free(error);
        munmap(memory, size);
        return nullptr;
    }
    return std::unique_ptr<SharedImageMemory>(
        new SharedImageMemory(connection, segment, static_cast<std::uint8_t*>(memory), size));
}

SharedImageMemory::~SharedImageMemory() {
    xcb_shm_detach(connection_, segment_);
    xcb_flush(connection_);
    munmap(memory_, size_);
}

X11ScreenGrabber::X11ScreenGrabber(const XcbConnection& connection, Reads reads) : x_(connection), reads_(reads) {}

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

GrabResult X11ScreenGrabber::copy(const ImageSource& source, const GrabArea& area) {
    Picture picture{area.width, area.height,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(area.width) * area.height, 0)};  // black
    if (area.sourceWidth > 0) {
        const std::size_t size = source.layout.rowBytes(static_cast<std::size_t>(area.sourceWidth)) *
                                 static_cast<std::size_t>(area.sourceHeight);
        const SharedImageMemory* shared = sharedMemoryFor(size);
        const bool copied = (shared != nullptr && copyThroughSharedMemory(x_, *shared, source, area, picture)) ||
                            copyThroughSocket(x_, source, area, picture);
        if (!copied) return {nullptr, refusedMessage};
    }
    return {std::make_unique<HeldPicture>(std::move(picture)), {}};
}

GrabResult X11ScreenGrabber::grab(const ScreenRect& rect) {
    if (!x_.connected()) return {nullptr, brokenConnectionMessage};
    // Through shared memory a server without a screen may answer with pixels that
    // are not the screen's: it is asked once, through the socket, whether it has one.
    if (!screenCanBeRead_) screenCanBeRead_ = x_.screenCanBeRead();
    if (!*screenCanBeRead_) return {nullptr, refusedMessage};
    const std::optional<ImageLayout> layout = rootImageLayout(x_);
    if (!layout) return {nullptr, unreadableFormatMessage};
    const RootSize screen = x_.rootSize();
    // X coordinates are 16-bit: no screen reaches beyond the largest grab.
    const std::optional<GrabArea> area = grabAreaOf(rect, std::min<std::int32_t>(screen.width, largestGrabSide),
                                                    std::min<std::int32_t>(screen.height, largestGrabSide));
    if (!area) return {nullptr, unaddressableMessage};
    return copy({x_.root(), *layout}, *area);
}

GrabResult X11ScreenGrabber::grabViewer(WindowHandle viewer, const ScreenRect& rect) {
    if (reads_ == Reads::Screen) return grab(rect);
    if (!x_.connected()) return {nullptr, brokenConnectionMessage};
    xcb_connection_t* const connection = x_.get();
    const auto window = static_cast<xcb_window_t>(viewer);
    const auto geometryCookie = xcb_get_geometry(connection, window);
    const auto attributesCookie = xcb_get_window_attributes(connection, window);
    const auto originCookie = xcb_translate_coordinates(connection, window, x_.root(), 0, 0);
    const auto geometry = replyTo<xcb_get_geometry_reply>(connection, geometryCookie);
    const auto attributes = replyTo<xcb_get_window_attributes_reply>(connection, attributesCookie);
    const auto origin = replyTo<xcb_translate_coordinates_reply>(connection, originCookie);
    if (!geometry || !attributes || !origin) return {nullptr, viewerGoneMessage};
    const std::optional<ImageLayout> layout = imageLayoutOf(x_, attributes->visual, geometry->depth);
    if (!layout) return {nullptr, unreadableFormatMessage};
    // The rectangle in the window's own pixels; what lies outside the window is black.
    const ScreenRect inWindow{rect.left - origin->dst_x, rect.top - origin->dst_y, rect.right - origin->dst_x,
                              rect.bottom - origin->dst_y};
    const std::optional<GrabArea> area = grabAreaOf(inWindow, geometry->width, geometry->height);
    if (!area) return {nullptr, unaddressableMessage};
    return copy({window, *layout}, *area);
}

}  // namespace skl
