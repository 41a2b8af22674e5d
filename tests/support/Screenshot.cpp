#include "Screenshot.h"

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

struct Free {
    void operator()(void* pointer) const { std::free(pointer); }
};

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

// The visual of the root window, which describes how its pixels are laid out.
const xcb_visualtype_t* rootVisual(const xcb_screen_t* screen)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem > 0; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen->root_visual)
                return visuals.data;
        }
    }
    return nullptr;
}

// Pixels of 32 bits with red, green and blue in the low three bytes, as Xvfb's default depth 24 keeps them.
bool isRgb32(xcb_connection_t* connection, const xcb_screen_t* screen)
{
    const xcb_visualtype_t* visual = rootVisual(screen);
    if (visual == nullptr || screen->root_depth != 24 || visual->red_mask != 0xff0000 ||
        visual->green_mask != 0x00ff00 || visual->blue_mask != 0x0000ff)
        return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem > 0;
         xcb_format_next(&formats)) {
        if (formats.data->depth == 24)
            return formats.data->bits_per_pixel == 32;
    }
    return false;
}

} // namespace

std::optional<QImage> grabScreen()
{
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(nullptr, &screenNumber));
    if (xcb_connection_has_error(connection.get()) != 0)
        return std::nullopt;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem <= 0 || !isRgb32(connection.get(), screens.data))
        return std::nullopt;
    const xcb_screen_t* screen = screens.data;
    const std::unique_ptr<xcb_get_image_reply_t, Free> image(
        xcb_get_image_reply(connection.get(),
                            xcb_get_image(connection.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                                          screen->width_in_pixels, screen->height_in_pixels, ~0U),
                            nullptr));
    const qsizetype stride = qsizetype{screen->width_in_pixels} * 4;
    if (!image || xcb_get_image_data_length(image.get()) < stride * screen->height_in_pixels)
        return std::nullopt;
    return QImage(xcb_get_image_data(image.get()), screen->width_in_pixels, screen->height_in_pixels, stride,
                  QImage::Format_RGB32)
        .copy();
}

bool saveScreenshot(const QString& pngPath)
{
    const std::optional<QImage> screen = grabScreen();
    return screen && screen->save(pngPath, "PNG");
}
