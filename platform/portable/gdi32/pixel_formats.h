// Pixel formats of window device contexts: the display's GLX configurations.
#ifndef PLATFORM_PORTABLE_PIXEL_FORMATS_H
#define PLATFORM_PORTABLE_PIXEL_FORMATS_H

#include "platform/platform.h"

// The window behind a window device context, or null.
HWND PortableWindowOfDC(HDC dc);

#endif
