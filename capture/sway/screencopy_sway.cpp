#include "capture/sway/screencopy_sway.h"

#include <poll.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>
#include <vector>

#include "capture/Picture.h"
#include "capture/Text.h"
#include "capture/posix/descriptor_posix.h"
#include "screencopy-unstable-v1-client.h"

namespace skl {
namespace {

std::int64_t nowMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

// Owners of the protocol objects: each is destroyed with its own request.
template <typename T, void (*destroy)(T*)>
struct Destroyer {
    void operator()(T* object) const noexcept { destroy(object); }
};
template <typename T, void (*destroy)(T*)>
using Owned = std::unique_ptr<T, Destroyer<T, destroy>>;

using Display = Owned<wl_display, wl_display_disconnect>;
using Registry = Owned<wl_registry, wl_registry_destroy>;
using Shm = Owned<wl_shm, wl_shm_destroy>;
using ShmPool = Owned<wl_shm_pool, wl_shm_pool_destroy>;
using Buffer = Owned<wl_buffer, wl_buffer_destroy>;
using Callback = Owned<wl_callback, wl_callback_destroy>;
using Manager = Owned<zwlr_screencopy_manager_v1, zwlr_screencopy_manager_v1_destroy>;
using Frame = Owned<zwlr_screencopy_frame_v1, zwlr_screencopy_frame_v1_destroy>;

void releaseOutput(wl_output* output) {
    if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output);
    } else {
        wl_output_destroy(output);
    }
}
using Output = Owned<wl_output, releaseOutput>;

// Shared memory mapped into the program.
class Mapping {
public:
    Mapping(int descriptor, std::size_t size)
        : size_(size), data_(mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0)) {}
    ~Mapping() {
        if (valid()) munmap(data_, size_);
    }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    bool valid() const { return data_ != MAP_FAILED; }
    std::span<const std::uint8_t> bytes() const { return {static_cast<const std::uint8_t*>(data_), size_}; }

private:
    std::size_t size_;
    void* data_;
};

struct NamedOutput {
    Output output;
    std::string name;
};

// Dispatches the display's events until `done` holds; false when the connection
// failed or the deadline passed first.
template <typename Done>
bool dispatchUntil(wl_display* display, std::int64_t deadline, Done done) {
    for (;;) {
        if (wl_display_dispatch_pending(display) < 0) return false;
        if (done()) return true;
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) return false;
        }
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        const std::int64_t left = deadline - nowMilliseconds();
        pollfd waiting{wl_display_get_fd(display), POLLIN, 0};
        const int result = left > 0 ? poll(&waiting, 1, static_cast<int>(left)) : 0;
        if (result <= 0) {
            wl_display_cancel_read(display);
            if (result < 0 && errno == EINTR) continue;
            return false;
        }
        if (wl_display_read_events(display) < 0) return false;
    }
}

// Waits until the compositor has handled every request sent so far.
bool roundTrip(wl_display* display, std::int64_t deadline) {
    bool done = false;
    static constexpr wl_callback_listener listener{[](void* data, wl_callback*, std::uint32_t) {
        *static_cast<bool*>(data) = true;
    }};
    const Callback callback(wl_display_sync(display));
    if (!callback) return false;
    wl_callback_add_listener(callback.get(), &listener, &done);
    return dispatchUntil(display, deadline, [&] { return done; });
}

// What a frame has told of itself.
struct FrameEvents {
    struct Offer {
        std::uint32_t format, width, height, stride;
    };
    std::vector<Offer> offers;
    bool buffersTold = false;
    bool yInverted = false;
    bool ready = false;
    bool failed = false;
};

const zwlr_screencopy_frame_v1_listener frameListener{
    .buffer = [](void* data, zwlr_screencopy_frame_v1*, std::uint32_t format, std::uint32_t width,
                 std::uint32_t height, std::uint32_t stride) {
        static_cast<FrameEvents*>(data)->offers.push_back({format, width, height, stride});
    },
    .flags = [](void* data, zwlr_screencopy_frame_v1*,
                std::uint32_t flags) {
        static_cast<FrameEvents*>(data)->yInverted = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
    },
    .ready = [](void* data, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t,
                std::uint32_t) { static_cast<FrameEvents*>(data)->ready = true; },
    .failed = [](void* data, zwlr_screencopy_frame_v1*) { static_cast<FrameEvents*>(data)->failed = true; },
    .damage = [](void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
    .linux_dmabuf = [](void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t) {},
    .buffer_done = [](void* data, zwlr_screencopy_frame_v1*) { static_cast<FrameEvents*>(data)->buffersTold = true; },
};

// The 32-bit formats whose pixels the program reads; whether red is in the low byte.
std::optional<bool> redInLowByte(std::uint32_t format) {
    switch (format) {
        case WL_SHM_FORMAT_XRGB8888:
        case WL_SHM_FORMAT_ARGB8888:
            return false;
        case WL_SHM_FORMAT_XBGR8888:
        case WL_SHM_FORMAT_ABGR8888:
            return true;
        default:
            return std::nullopt;
    }
}

Picture pictureOf(std::span<const std::uint8_t> bytes, const FrameEvents::Offer& offer, bool swapRedBlue,
                  bool yInverted) {
    Picture picture{static_cast<std::int32_t>(offer.width), static_cast<std::int32_t>(offer.height),
                    std::vector<std::uint32_t>(std::size_t{offer.width} * offer.height)};
    for (std::uint32_t row = 0; row < offer.height; ++row) {
        const std::uint32_t from = yInverted ? offer.height - 1 - row : row;
        const std::uint8_t* source = bytes.data() + std::size_t{from} * offer.stride;
        std::uint32_t* target = picture.pixels.data() + std::size_t{row} * offer.width;
        for (std::uint32_t x = 0; x < offer.width; ++x) {
            std::uint32_t value;
            std::memcpy(&value, source + std::size_t{x} * 4, sizeof value);  // little-endian, as the format says
            target[x] = swapRedBlue ? (value & 0x00FF00u) | ((value & 0xFFu) << 16) | ((value >> 16) & 0xFFu)
                                    : value & 0xFFFFFFu;
        }
    }
    return picture;
}

}  // namespace

struct WaylandScreenCopy::Connection {
    Display display;
    Registry registry;
    Shm shm;
    Manager manager;
    std::uint32_t managerVersion = 0;
    std::vector<std::unique_ptr<NamedOutput>> outputs;

    static const wl_registry_listener registryListener;
    static const wl_output_listener outputListener;

    // The connection and the globals the copies need; nothing, and why, where they
    // cannot be had.
    static std::unique_ptr<Connection> open(Text& failure);
    // One copy; broken: the connection failed on the way and must not be used again.
    Copy copy(const std::string& outputName, const ScreenRect& region, bool& broken);
};

const wl_registry_listener WaylandScreenCopy::Connection::registryListener{
    .global =
        [](void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
            auto& self = *static_cast<Connection*>(data);
            if (std::strcmp(interface, wl_shm_interface.name) == 0) {
                self.shm.reset(static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1)));
            } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0) {
                self.managerVersion = std::min(version, 3u);
                self.manager.reset(static_cast<zwlr_screencopy_manager_v1*>(
                    wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, self.managerVersion)));
            } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
                // From version 4 on an output tells its name, which the IPC's names match.
                auto* output = static_cast<wl_output*>(
                    wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 4u)));
                self.outputs.push_back(std::make_unique<NamedOutput>(NamedOutput{Output(output), {}}));
                wl_output_add_listener(output, &outputListener, &self.outputs.back()->name);
            }
        },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

const wl_output_listener WaylandScreenCopy::Connection::outputListener{
    .geometry = [](void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                   const char*, const char*, std::int32_t) {},
    .mode = [](void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {},
    .done = [](void*, wl_output*) {},
    .scale = [](void*, wl_output*, std::int32_t) {},
    .name = [](void* data, wl_output*, const char* name) { *static_cast<std::string*>(data) = name; },
    .description = [](void*, wl_output*, const char*) {},
};

std::unique_ptr<WaylandScreenCopy::Connection> WaylandScreenCopy::Connection::open(Text& failure) {
    auto connection = std::make_unique<Connection>();
    connection->display.reset(wl_display_connect(nullptr));
    if (!connection->display) {
        failure = L"The program could not connect to the Wayland compositor (WAYLAND_DISPLAY).";
        return nullptr;
    }
    connection->registry.reset(wl_display_get_registry(connection->display.get()));
    wl_registry_add_listener(connection->registry.get(), &registryListener, connection.get());
    const std::int64_t deadline = nowMilliseconds() + timeoutMilliseconds;
    // The globals, then what the outputs tell of themselves.
    if (!roundTrip(connection->display.get(), deadline) || !roundTrip(connection->display.get(), deadline)) {
        failure = L"The Wayland compositor did not answer within 2 seconds.";
        return nullptr;
    }
    if (!connection->manager || !connection->shm) {
        failure = L"The Wayland compositor offers no way to copy the screen (zwlr_screencopy_manager_v1).";
        return nullptr;
    }
    return connection;
}

WaylandScreenCopy::WaylandScreenCopy() = default;
WaylandScreenCopy::~WaylandScreenCopy() = default;

WaylandScreenCopy::Copy WaylandScreenCopy::copy(const std::string& outputName, const ScreenRect& region) {
    Copy result;
    if (!connection_) connection_ = Connection::open(result.failure);
    if (!connection_) return result;
    bool broken = false;
    result = connection_->copy(outputName, region, broken);
    // A connection that failed in the middle of an exchange is not used again; it
    // is closed here, once the exchange's objects are gone.
    if (broken) connection_.reset();
    return result;
}

WaylandScreenCopy::Copy WaylandScreenCopy::Connection::copy(const std::string& outputName, const ScreenRect& region,
                                                            bool& broken) {
    Copy result;
    const auto failedExchange = [&](Text why) {
        broken = true;
        result.failure = std::move(why);
        return std::move(result);
    };
    const Text noAnswer = L"The Wayland compositor did not finish copying the screen within 2 seconds.";

    wl_output* output = nullptr;
    for (const auto& named : outputs) {
        if (named->name == outputName || (named->name.empty() && outputs.size() == 1)) {
            output = named->output.get();
        }
    }
    if (output == nullptr) {
        // Outputs come and go: the next copy binds them anew.
        return failedExchange(L"The Wayland compositor has no output named " + decodeUtf8(outputName).value_or(L"?") +
                              L".");
    }

    wl_display* const connection = display.get();
    const std::int64_t deadline = nowMilliseconds() + timeoutMilliseconds;
    FrameEvents events;
    const Frame frame(zwlr_screencopy_manager_v1_capture_output_region(
        manager.get(), 0, output, region.left, region.top, region.right - region.left, region.bottom - region.top));
    zwlr_screencopy_frame_v1_add_listener(frame.get(), &frameListener, &events);
    const bool told = dispatchUntil(connection, deadline, [&] {
        return events.failed || events.buffersTold || (managerVersion < 3 && !events.offers.empty());
    });
    if (!told) return failedExchange(noAnswer);
    if (events.failed) {
        result.failure = L"The Wayland compositor refused to copy the screen.";
        return result;
    }
    const auto offer = std::find_if(events.offers.begin(), events.offers.end(),
                                    [](const FrameEvents::Offer& o) { return redInLowByte(o.format).has_value(); });
    if (offer == events.offers.end() || offer->stride < std::size_t{offer->width} * 4) {
        result.failure = L"The Wayland compositor offers the screen's pixels in no format this program reads.";
        return result;
    }

    const std::size_t size = std::size_t{offer->stride} * offer->height;
    const FileDescriptor memory(memfd_create("skellimor-screen-copy", MFD_CLOEXEC));
    if (!memory.valid() || ftruncate(memory.get(), static_cast<off_t>(size)) != 0) {
        result.failure = L"There was no memory left for the screen's pixels.";
        return result;
    }
    const Mapping mapping(memory.get(), size);
    if (!mapping.valid()) {
        result.failure = L"There was no memory left for the screen's pixels.";
        return result;
    }
    const ShmPool pool(wl_shm_create_pool(shm.get(), memory.get(), static_cast<std::int32_t>(size)));
    const Buffer buffer(wl_shm_pool_create_buffer(pool.get(), 0, static_cast<std::int32_t>(offer->width),
                                                  static_cast<std::int32_t>(offer->height),
                                                  static_cast<std::int32_t>(offer->stride), offer->format));
    zwlr_screencopy_frame_v1_copy(frame.get(), buffer.get());
    if (!dispatchUntil(connection, deadline, [&] { return events.ready || events.failed; })) {
        return failedExchange(noAnswer);
    }
    if (events.failed) {
        result.failure = L"The Wayland compositor could not copy the screen.";
        return result;
    }

    Picture picture = pictureOf(mapping.bytes(), *offer, *redInLowByte(offer->format), events.yInverted);
    const std::int32_t width = region.right - region.left;
    const std::int32_t height = region.bottom - region.top;
    // An output at a scale above 1 gives more pixels than the region has: brought
    // down to one per logical pixel, the coordinates every window is placed in.
    if (picture.width != width || picture.height != height) picture = scaledPicture(picture, width, height);
    result.picture = std::move(picture);
    return result;
}

}  // namespace skl
