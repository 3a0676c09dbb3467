#include "capture/x11/image_layout_x11.h"

namespace skl {
namespace {

const xcb_visualtype_t* visualOf(const xcb_screen_t& screen, xcb_visualid_t id) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem > 0; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id) return visuals.data;
        }
    }
    return nullptr;
}

const xcb_format_t* pixmapFormat(const xcb_setup_t& setup, std::uint8_t depth) {
    for (auto formats = xcb_setup_pixmap_formats_iterator(&setup); formats.rem > 0; xcb_format_next(&formats)) {
        if (formats.data->depth == depth) return formats.data;
    }
    return nullptr;
}

}  // namespace

std::optional<ImageLayout> rootImageLayout(const XcbConnection& x) {
    if (!x.connected()) return std::nullopt;
    return imageLayoutOf(x, x.screen().root_visual, x.screen().root_depth);
}

std::optional<ImageLayout> imageLayoutOf(const XcbConnection& x, xcb_visualid_t visualId, std::uint8_t depth) {
    if (!x.connected()) return std::nullopt;
    const xcb_setup_t& setup = *xcb_get_setup(x.get());
    const xcb_visualtype_t* visual = visualOf(x.screen(), visualId);
    const xcb_format_t* format = pixmapFormat(setup, depth);
    if (visual == nullptr || format == nullptr) return std::nullopt;
    if (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR)
        return std::nullopt;
    const auto pixel = PixelFormat::of(format->bits_per_pixel, setup.image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST,
                                       visual->red_mask, visual->green_mask, visual->blue_mask);
    if (!pixel) return std::nullopt;
    return ImageLayout{*pixel, format->scanline_pad};
}

}  // namespace skl
