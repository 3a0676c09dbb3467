#pragma once
// The sample viewer's command line, the same on both systems:
//
//   webcam_viewer ID [--at X Y] [--frame N] [--changing MILLISECONDS] [--undecorated] [--dpi-unaware]
//
// --at places the window's outer frame corner (default: where the system puts
// it), partly off the screen too; --frame picks the starting frame; --changing
// advances the frame on a timer; --undecorated asks for a window without a frame;
// --dpi-unaware makes a window that does not know the screen's resolution, as a
// messenger's is (Windows only: X11 windows have no such notion, and the X11
// viewer takes it and does nothing else).

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>

namespace skl::viewer {

inline constexpr const char* usage =
    "Usage: webcam_viewer ID [--at X Y] [--frame N] [--changing MILLISECONDS] [--undecorated] [--dpi-unaware]";

struct Point {
    std::int16_t x = 0;
    std::int16_t y = 0;
};

// Char is char on X11 and wchar_t on Windows, where the command line is wide.
template <typename Char>
struct Options {
    std::basic_string<Char> id;
    std::optional<Point> at;
    std::uint32_t frame = 0;
    int changingMs = 0;
    bool undecorated = false;
    bool dpiUnaware = false;
};

namespace detail {

// The whole of the text as a number within [low, high]; nothing otherwise.
template <typename Char>
std::optional<long> number(const Char* text, long low, long high) {
    Char* end = nullptr;
    long value = 0;
    if constexpr (sizeof(Char) == 1) {
        value = std::strtol(text, &end, 10);
    } else {
        value = std::wcstol(text, &end, 10);
    }
    if (end == text || *end != Char{} || value < low || value > high) return std::nullopt;
    return value;
}

template <typename Char>
bool is(const Char* argument, std::string_view flag) {
    std::size_t i = 0;
    for (; argument[i] != Char{} && i < flag.size(); ++i) {
        if (argument[i] != static_cast<Char>(flag[i])) return false;
    }
    return i == flag.size() && argument[i] == Char{};
}

}  // namespace detail

// The options, or nothing when the command line is not understood.
template <typename Char>
std::optional<Options<Char>> parseOptions(int argc, Char** argv) {
    if (argc < 2) return std::nullopt;
    Options<Char> options;
    options.id = argv[1];
    for (int i = 2; i < argc; ++i) {
        if (detail::is(argv[i], "--at") && i + 2 < argc) {
            const auto x = detail::number(argv[i + 1], INT16_MIN, INT16_MAX);
            const auto y = detail::number(argv[i + 2], INT16_MIN, INT16_MAX);
            if (!x || !y) return std::nullopt;
            options.at = Point{static_cast<std::int16_t>(*x), static_cast<std::int16_t>(*y)};
            i += 2;
        } else if (detail::is(argv[i], "--frame") && i + 1 < argc) {
            const auto frame = detail::number(argv[++i], 0, INT32_MAX);
            if (!frame) return std::nullopt;
            options.frame = static_cast<std::uint32_t>(*frame);
        } else if (detail::is(argv[i], "--changing") && i + 1 < argc) {
            const auto ms = detail::number(argv[++i], 1, 3'600'000);
            if (!ms) return std::nullopt;
            options.changingMs = static_cast<int>(*ms);
        } else if (detail::is(argv[i], "--undecorated")) {
            options.undecorated = true;
        } else if (detail::is(argv[i], "--dpi-unaware")) {
            options.dpiUnaware = true;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace skl::viewer
