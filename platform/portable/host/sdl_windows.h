// Top-level SDL windows, each known by the HWND it shows: the SDL window is
// the client area. Any thread may call these; each holds the SDL lock, so no
// window goes while it is used.
#ifndef PLATFORM_PORTABLE_HOST_SDL_WINDOWS_H
#define PLATFORM_PORTABLE_HOST_SDL_WINDOWS_H

#include <stdint.h>

#include <functional>

#include "platform/platform.h"

struct SDL_Window;

// Where and how a window's client area is made, in screen coordinates.
struct HostWindowShape {
    const char *title;
    int x, y, width, height;
    bool borderless;
    bool resizable;
    bool popup; // full-screen while a display mode is kept
};

// Makes the hidden SDL window that shows handle; false when SDL cannot.
bool HostOpenWindow(HWND handle, const HostWindowShape &shape);
void HostCloseWindow(HWND handle);

void HostShowWindow(HWND handle);
void HostHideWindow(HWND handle);
void HostMinimizeWindow(HWND handle);
void HostMaximizeWindow(HWND handle);
void HostRestoreWindow(HWND handle);
bool HostRaiseWindow(HWND handle); // false for no window
void HostFocusWindow(HWND handle);
bool HostIsMaximized(HWND handle);
// Where the client area's corner is on the screen; false for no window.
bool HostClientCorner(HWND handle, int *x, int *y);

// Runs use on the window's SDL window, the lock held; false when it has none.
bool HostWithSdlWindow(HWND handle, const std::function<void(SDL_Window *)> &use);
SDL_Window *HostSdlWindow(HWND handle); // null for none
HWND HostWindowOfSdl(uint32_t sdlId);   // null for none

// No window stays full-screen, and none made later goes full-screen.
void HostLeaveFullscreen();

#endif
