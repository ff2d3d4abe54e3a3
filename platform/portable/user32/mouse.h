// The pointer's capture.
#ifndef PLATFORM_PORTABLE_MOUSE_H
#define PLATFORM_PORTABLE_MOUSE_H

#include "platform/platform.h"

// Any thread: the window of the desktop that holds the capture, or null.
HWND PortableCaptureWindow();

// The window is going: a capture it holds ends.
void PortableForgetCapture(HWND window);

void PortableFillMouse(PlatformTable *t);

#endif
