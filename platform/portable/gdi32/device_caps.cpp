// GetDeviceCaps for the capabilities the palette code asks about; every DC
// answers for the one display.
#include "gdi32/device_caps.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <mutex>

#include "fill_table.h"
#include "gdi32/gdi_objects.h"

namespace {

// A palette device's DAC resolves 6 bits a gun; a direct-colour one 8.
constexpr int kPaletteColourResolution = 18;
constexpr int kDirectColourResolution = 24;

struct DeviceKind {
    bool palette = false;
    int bitsPerPixel = 32;
};

// The screen's default visual decides, as it does for Wine: a colour map
// the program can write, 8 bits deep. Pixels take what the server stores
// them in (32 bits for a 24-bit screen). SDL does not tell either.
DeviceKind AskServer()
{
    DeviceKind found;
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

// Read once: the display does not change under a running program.
const DeviceKind &TheDisplay()
{
    static const DeviceKind display = AskServer();
    return display;
}

int WINAPI PortableGetDeviceCaps(HDC dc, int index)
{
    {
        std::lock_guard<std::mutex> hold(PortableGdiLock());
        if (!PortableFindDeviceContext(dc))
            return 0;
    }
    const DeviceKind &display = TheDisplay();
    switch (index) {
    case RASTERCAPS: return display.palette ? RC_PALETTE : 0;
    case BITSPIXEL: return display.bitsPerPixel;
    case PLANES: return 1;
    case SIZEPALETTE: return display.palette ? static_cast<int>(kSystemPaletteSize) : 0;
    case NUMRESERVED: return static_cast<int>(kStaticColourCount);
    case COLORRES: return display.palette ? kPaletteColourResolution : kDirectColourResolution;
    default: return 0;
    }
}

} // namespace

bool PortableIsPaletteDevice()
{
    return TheDisplay().palette;
}

void PortableFillDeviceCaps(PlatformTable *t)
{
    t->GetDeviceCaps = PortableGetDeviceCaps;
}
