// Top-level windows.
#ifndef PLATFORM_PORTABLE_WINDOWS_H
#define PLATFORM_PORTABLE_WINDOWS_H

#include "platform/platform.h"

// ShowWindow, also for the default handling of the system commands. Another
// thread's window is shown by its owner, at its next look at its queue.
BOOL WINAPI PortableShowWindow(HWND window, int command);

// DestroyWindow, also for the default handling of WM_CLOSE.
BOOL WINAPI PortableDestroyWindow(HWND window);

void PortableFillWindows(PlatformTable *t);

#endif
