// For the end-to-end tests on a headless sway, whose seat has no input device: a
// virtual pointer of the seat's, kept until the tool is ended, so that sway's own
// cursor commands (`seat - cursor set X Y`, `seat - cursor press button1`) reach
// the programs as a real pointer's input. Prints "ready" once sway has it.

#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "virtual-pointer-unstable-v1-client.h"

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

const wl_registry_listener registryListener{
    .global =
        [](void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
            auto& globals = *static_cast<Globals*>(data);
            if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals.seat == nullptr) {
                globals.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
            } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
                globals.manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
                    wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
            }
        },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

struct Disconnect {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

}  // namespace

int main() {
    const std::unique_ptr<wl_display, Disconnect> display(wl_display_connect(nullptr));
    if (!display) {
        std::fputs("virtual_pointer: no Wayland display (WAYLAND_DISPLAY)\n", stderr);
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(registry, &registryListener, &globals);
    wl_display_roundtrip(display.get());
    if (globals.seat == nullptr || globals.manager == nullptr) {
        std::fputs("virtual_pointer: the compositor offers no virtual pointers\n", stderr);
        return 1;
    }
    zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    wl_display_roundtrip(display.get());
    std::puts("ready");
    std::fflush(stdout);
    // The pointer lasts as long as the connection: until the tool is ended.
    while (wl_display_dispatch(display.get()) >= 0) {
    }
    return 0;
}
