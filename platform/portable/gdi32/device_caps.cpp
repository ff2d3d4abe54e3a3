// GetDeviceCaps for the capabilities the palette code asks about; every DC
// answers for the one display.
#include "gdi32/device_caps.h"

#include <mutex>

#include "gdi32/gdi_objects.h"
#include "host/x11_display.h"

namespace {

// A palette device's DAC resolves 6 bits a gun; a direct-colour one 8.
constexpr int kPaletteColourResolution = 18;
constexpr int kDirectColourResolution = 24;

int WINAPI PortableGetDeviceCaps(HDC dc, int index)
{
    {
        std::lock_guard<std::mutex> hold(PortableGdiLock());
        if (!PortableFindDeviceContext(dc))
            return 0;
    }
    const HostScreenKind &display = HostScreen();
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
    return HostScreen().palette;
}

void PortableFillDeviceCaps(PlatformTable *t)
{
    t->GetDeviceCaps = PortableGetDeviceCaps;
}
