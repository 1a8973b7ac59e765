#include "tests/app/gui/driver/ScreenArea.h"

#include <wx/utils.h>

// After the toolkit's headers: Xlib defines macros (None, Status, Bool ...).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zib {

wxImage ScreenArea(wxRect area)
{
    auto* display = static_cast<Display*>(wxGetDisplay());
    if (!display) return wxImage();
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes)) return wxImage();
    area.Intersect(wxRect(0, 0, attributes.width, attributes.height));
    if (area.IsEmpty()) return wxImage();
    XImage* screen =
        XGetImage(display, root, area.x, area.y, unsigned(area.width), unsigned(area.height), AllPlanes, ZPixmap);
    if (!screen) return wxImage();
    // A true-colour screen: each channel an 8-bit field of the pixel.
    auto channel = [](unsigned long pixel, unsigned long mask) {
        return mask ? (unsigned char)((pixel & mask) >> __builtin_ctzl(mask)) : 0;
    };
    wxImage image(area.width, area.height);
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x) {
            const unsigned long pixel = XGetPixel(screen, x, y);
            image.SetRGB(x, y, channel(pixel, screen->red_mask), channel(pixel, screen->green_mask),
                         channel(pixel, screen->blue_mask));
        }
    XDestroyImage(screen);
    return image;
}

} // namespace zib
