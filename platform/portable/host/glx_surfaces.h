// The GL drawable of a window with a pixel format: an X child window on the
// format's visual that fills the client area. SDL keeps the top-level window,
// its place with the window manager, its focus and its input; the child
// selects no events, so the server hands every pointer and key event on to
// the SDL window as if the child were not there.
#ifndef PLATFORM_PORTABLE_HOST_GLX_SURFACES_H
#define PLATFORM_PORTABLE_HOST_GLX_SURFACES_H

// After the platform header: ours defines APIENTRY unconditionally.
#include "platform/platform.h"

#include <GL/glx.h>

// The X display under SDL's windows, reached through one of them; null when
// the window is not an SDL window on X11.
Display *HostX11Display(HWND window);

struct HostGlSurface {
    int format = 0; // 0: the window has no pixel format
    GLXFBConfig config = nullptr;
    Display *display = nullptr;
    GLXWindow drawable = 0;
};

// Gives the window the configuration's visual under format number `format`.
// False when the window already has a format or X refuses; the window is
// then unchanged.
bool HostAttachSurface(HWND window, int format, GLXFBConfig config);

// The window's surface; format 0 when it has none.
HostGlSurface HostSurfaceOf(HWND window);

// The window is going: its child window goes first.
void HostDetachSurface(HWND window);

#endif
