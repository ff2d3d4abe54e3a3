// Top-level windows over SDL2: the SDL window is the client area.
#ifndef PLATFORM_PORTABLE_SDL_WINDOWS_H
#define PLATFORM_PORTABLE_SDL_WINDOWS_H

#include "platform/platform.h"

// Brings up SDL's video once per process; false when there is no display.
bool PortableEnsureVideo();

// Owner thread. Remakes the SDL window under the same HWND so that it picks
// up the current SDL_GL attributes: X11 fixes the visual when a window is made.
bool PortableRecreateSdlWindow(HWND window);

// DestroyWindow, also for the default handling of WM_CLOSE.
BOOL WINAPI PortableDestroyWindow(HWND window);

#endif
