#pragma once
// A block of memory this process shares with the X server (MIT-SHM, passed as a
// file descriptor), into which the server writes the images the program grabs, so
// that a grab's pixels never travel through the connection's socket. Through the
// socket a camera's 300 KB reply is sent in pieces between the other clients'
// requests: while the window manager is busy with our window leaving, it arrives
// milliseconds later.

#include <xcb/shm.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "capture/x11/xcb_x11.h"

namespace skl {

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

}  // namespace skl
