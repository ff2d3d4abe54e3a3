#include "host/x11_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

HostScreenKind AskServer()
{
    HostScreenKind found;
    ::Display *server = XOpenDisplay(nullptr);
    if (!server)
        return found;
    const int screen = DefaultScreen(server);
    const int depth = DefaultDepth(server, screen);
    const int visualClass = DefaultVisual(server, screen)->c_class;
    found.palette = depth == 8 && (visualClass == PseudoColor || visualClass == GrayScale);
    int count = 0;
    if (XPixmapFormatValues *formats = XListPixmapFormats(server, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == depth)
                found.bitsPerPixel = formats[i].bits_per_pixel;
        XFree(formats);
    }
    XCloseDisplay(server);
    return found;
}

} // namespace

const HostScreenKind &HostScreen()
{
    static const HostScreenKind screen = AskServer();
    return screen;
}
