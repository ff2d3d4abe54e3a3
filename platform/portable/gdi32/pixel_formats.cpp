// The pixel-format operations of window device contexts. Formats are the
// display's real GLX configurations (host/glx_configs.h), chosen by the
// rules of gdi32/pixel_format_choice.cpp; a format is set once per window and
// lives with the window's GL surface.
#include <algorithm>
#include <string.h>

#include "gdi32/pixel_formats.h"
#include "gdi32/gdi_objects.h"
#include "gdi32/pixel_format_choice.h"
#include "host/glx_configs.h"
#include "host/glx_surfaces.h"

namespace {

const std::vector<HostPixelFormat> &FormatsOf(HWND window)
{
    return HostPixelFormats(window ? HostX11Display(window) : nullptr);
}

int WINAPI PortableChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR *requested)
{
    const HWND window = PortableWindowOfDC(dc);
    if (!window || !requested)
        return 0;
    std::vector<PIXELFORMATDESCRIPTOR> descriptors;
    for (const HostPixelFormat &format : FormatsOf(window))
        descriptors.push_back(format.descriptor);
    return PortableClosestPixelFormat(descriptors.data(), static_cast<int>(descriptors.size()), *requested);
}

// The descriptor is only a record for metafiles on Windows; the number decides.
BOOL WINAPI PortableSetPixelFormat(HDC dc, int number, const PIXELFORMATDESCRIPTOR *requested)
{
    const HWND window = PortableWindowOfDC(dc);
    if (!window || !requested)
        return FALSE;
    const std::vector<HostPixelFormat> &formats = FormatsOf(window);
    if (number < 1 || number > static_cast<int>(formats.size()))
        return FALSE;
    return HostAttachSurface(window, number, formats[number - 1].config);
}

// With no descriptor to fill, the count alone, whatever the number.
int WINAPI PortableDescribePixelFormat(HDC dc, int number, UINT size, PIXELFORMATDESCRIPTOR *described)
{
    const HWND window = PortableWindowOfDC(dc);
    if (!window)
        return 0;
    const std::vector<HostPixelFormat> &formats = FormatsOf(window);
    const int count = static_cast<int>(formats.size());
    if (!described)
        return count;
    if (number < 1 || number > count)
        return 0;
    memcpy(described, &formats[number - 1].descriptor, std::min<size_t>(size, sizeof(*described)));
    return count;
}

int WINAPI PortableGetPixelFormat(HDC dc)
{
    const HWND window = PortableWindowOfDC(dc);
    return window ? HostSurfaceOf(window).format : 0;
}

} // namespace

void PortableFillPixelFormats(PlatformTable *t)
{
    t->ChoosePixelFormat = PortableChoosePixelFormat;
    t->SetPixelFormat = PortableSetPixelFormat;
    t->DescribePixelFormat = PortableDescribePixelFormat;
    t->GetPixelFormat = PortableGetPixelFormat;
}
