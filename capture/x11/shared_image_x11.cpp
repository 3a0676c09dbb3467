#include "capture/x11/shared_image_x11.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

#include "capture/posix/descriptor_posix.h"

namespace skl {
namespace {

// Whether the server offers shared memory passed as a descriptor (MIT-SHM 1.2).
bool serverSharesMemoryByDescriptor(const XcbConnection& x) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(x.get(), &xcb_shm_id);
    if (extension == nullptr || extension->present == 0) return false;
    const auto version = replyTo<xcb_shm_query_version_reply>(x.get(), xcb_shm_query_version(x.get()));
    return version && (version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 2));
}

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

}  // namespace skl
