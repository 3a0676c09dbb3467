#pragma once
// Copying the screen on X11, or in a Wayland session a viewer's own window: the
// server writes the pixels into memory shared with it where it offers that, else
// sends them through the socket.

#include <xcb/shm.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "capture/Ports.h"
#include "capture/x11/xcb_x11.h"

namespace skl {

// A block of memory this process shares with the X server (MIT-SHM, passed as a
// file descriptor), into which the server writes the images the program grabs, so
// that a grab's pixels never travel through the connection's socket. Through the
// socket a camera's 300 KB reply is sent in pieces between the other clients'
// requests: while the window manager is busy with our window leaving, it arrives
// milliseconds later.
class SharedImageMemory {
public:
    // A block of at least `size` bytes attached to the server; nothing where the
    // server offers no shared memory passed as a descriptor (an older or a remote
    // server) or the block cannot be made.
    static std::unique_ptr<SharedImageMemory> attach(const XcbConnection& x, std::size_t size);
    ~SharedImageMemory();
    SharedImageMemory(const SharedImageMemory&) = delete;
    SharedImageMemory& operator=(const SharedImageMemory&) = delete;

    xcb_shm_seg_t segment() const { return segment_; }
    std::span<const std::uint8_t> bytes() const { return {memory_, size_}; }

private:
    SharedImageMemory(xcb_connection_t* connection, xcb_shm_seg_t segment, std::uint8_t* memory, std::size_t size)
        : connection_(connection), segment_(segment), memory_(memory), size_(size) {}

    xcb_connection_t* connection_;
    xcb_shm_seg_t segment_;
    std::uint8_t* memory_;
    std::size_t size_;
};

struct ImageSource;
struct GrabArea;

// Copies the root window's pixels; a part of the rectangle off the screen is black.
// In a Wayland session the X server (XWayland) has no screen to copy, but it keeps
// every X window's own picture whole, even where other windows cover it: there the
// camera's picture is read from the viewer's own window, and what lies outside
// that window is black.
class X11ScreenGrabber final : public ScreenGrabber {
public:
    enum class Reads { Screen, ViewersOwnWindow };
    explicit X11ScreenGrabber(const XcbConnection& connection, Reads reads = Reads::Screen);
    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;
    GrabResult grab(const ScreenRect& rect) override;
    // The viewer is the X window the lookup found.
    GrabResult grabViewer(WindowHandle viewer, const ScreenRect& rect) override;
    bool readsViewersOwnPicture() const override { return reads_ == Reads::ViewersOwnWindow; }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override;

private:
    GrabResult copy(const ImageSource& source, const GrabArea& area);
    // The shared memory of at least `size` bytes, kept from one grab to the next
    // and grown as needed; nothing where the server refuses it.
    const SharedImageMemory* sharedMemoryFor(std::size_t size);

    const XcbConnection& x_;
    Reads reads_;
    std::optional<bool> screenCanBeRead_;
    bool sharedMemoryRefused_ = false;
    std::unique_ptr<SharedImageMemory> shared_;
};

}  // namespace skl
