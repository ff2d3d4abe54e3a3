// Window device contexts: one per window, as with CS_OWNDC.
#ifndef PLATFORM_PORTABLE_WINDOW_DC_H
#define PLATFORM_PORTABLE_WINDOW_DC_H

#include "platform/platform.h"

// GetDC: the window's one device context, made on first use; null for no window.
HDC PortableWindowDC(HWND window);

// The window is going: its device context goes with it.
void PortableForgetWindowDC(HWND window);

void PortableFillWindowDC(PlatformTable *t);

#endif
