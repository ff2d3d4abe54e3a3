// Pixel formats of window device contexts.
#ifndef PLATFORM_PORTABLE_PIXEL_FORMATS_H
#define PLATFORM_PORTABLE_PIXEL_FORMATS_H

#include "platform/platform.h"

// The window behind a device context that has a pixel format, or null.
HWND PortableFormattedWindow(HDC dc);

#endif
