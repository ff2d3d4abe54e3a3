// The system palette.
#ifndef PLATFORM_PORTABLE_SYSTEM_PALETTE_H
#define PLATFORM_PORTABLE_SYSTEM_PALETTE_H

#include "platform/platform.h"

// A palette selected into the active window's device context is the
// foreground palette; the window manager above tells which window that is.
// Set while the table is filled.
void PortableOnActiveWindowQuery(HWND (*activeWindow)());

void PortableFillSystemPalette(PlatformTable *t);

#endif
