// Top-level windows over SDL2: the SDL window is the client area.
#ifndef PLATFORM_PORTABLE_SDL_WINDOWS_H
#define PLATFORM_PORTABLE_SDL_WINDOWS_H

#include "platform/platform.h"

// Brings up SDL's video once per process; false when there is no display,
// which is then said once on standard error.
bool PortableEnsureVideo();

// ShowWindow, also for the default handling of the system commands.
BOOL WINAPI PortableShowWindow(HWND window, int command);

// DestroyWindow, also for the default handling of WM_CLOSE.
BOOL WINAPI PortableDestroyWindow(HWND window);

#endif
