// Top-level windows over SDL2: the SDL window is the client area.
#ifndef PLATFORM_PORTABLE_SDL_WINDOWS_H
#define PLATFORM_PORTABLE_SDL_WINDOWS_H

#include <string>

#include "platform/platform.h"

// Brings up SDL's video once per process; false when there is no display.
bool PortableEnsureVideo();

// Why the last PortableEnsureVideo failed, for the user; empty while none has.
std::string PortableVideoFailure();

// ShowWindow, also for the default handling of the system commands.
BOOL WINAPI PortableShowWindow(HWND window, int command);

// DestroyWindow, also for the default handling of WM_CLOSE.
BOOL WINAPI PortableDestroyWindow(HWND window);

#endif
