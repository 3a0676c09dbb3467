#include "tools/bench/ProcessResources_x11.h"

#include <unistd.h>
#include <xcb/res.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace skl::bench {
namespace {

// A field of /proc/self/status in KiB, 0 where it is missing.
std::uint64_t statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.compare(0, field.size() + 1, field + ":") == 0) return std::stoull(line.substr(field.size() + 1));
    }
    return 0;
}

std::uint64_t openFiles() {
    std::error_code error;
    std::uint64_t count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/fd", error), end; !error && it != end; it.increment(error)) {
        ++count;
    }
    return count;
}

// A resource base of each of this process's connections to the server.
std::vector<std::uint32_t> ownClients(xcb_connection_t* connection) {
    const xcb_res_client_id_spec_t everyClient{XCB_NONE, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    const auto ids = replyTo<xcb_res_query_client_ids_reply>(connection,
                                                             xcb_res_query_client_ids(connection, 1, &everyClient));
    std::vector<std::uint32_t> clients;
    if (!ids) return clients;
    const auto self = static_cast<std::uint32_t>(::getpid());
    for (auto it = xcb_res_query_client_ids_ids_iterator(ids.get()); it.rem > 0; xcb_res_client_id_value_next(&it)) {
        const auto& [client, length] = *it.data;  // which client and what is told of it
        if ((client.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) != 0 && length == 4 &&
            *xcb_res_client_id_value_value(it.data) == self) {
            clients.push_back(client.client);
        }
    }
    return clients;
}

}  // namespace

Resources measureX11Resources(const XcbConnection& x) {
    std::uint64_t windows = 0, pixmaps = 0, contexts = 0, all = 0, pixmapBytes = 0;
    if (x.connected()) {
        xcb_connection_t* const connection = x.get();
        const xcb_atom_t gc = x.atom("GC", true);
        for (const std::uint32_t client : ownClients(connection)) {
            const auto held = replyTo<xcb_res_query_client_resources_reply>(
                connection, xcb_res_query_client_resources(connection, client));
            if (held) {
                for (auto it = xcb_res_query_client_resources_types_iterator(held.get()); it.rem > 0;
                     xcb_res_type_next(&it)) {
                    all += it.data->count;
                    if (it.data->resource_type == XCB_ATOM_WINDOW) windows += it.data->count;
                    if (it.data->resource_type == XCB_ATOM_PIXMAP) pixmaps += it.data->count;
                    if (it.data->resource_type == gc) contexts += it.data->count;
                }
            }
            const auto bytes = replyTo<xcb_res_query_client_pixmap_bytes_reply>(
                connection, xcb_res_query_client_pixmap_bytes(connection, client));
            if (bytes) pixmapBytes += (std::uint64_t{bytes->bytes_overflow} << 32) + bytes->bytes;
        }
    }
    return {{"RSS KiB", statusKiB("VmRSS")},
            {"private KiB", statusKiB("RssAnon")},
            {"files", openFiles()},
            {"windows", windows},
            {"pixmaps", pixmaps},
            {"GCs", contexts},
            {"all", all},
            {"pixmap KiB", pixmapBytes / 1024}};
}

}  // namespace skl::bench
