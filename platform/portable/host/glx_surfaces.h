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

#include <mutex>

// The X display under SDL's windows, reached through one of them; null when
// the window is not an SDL window on X11.
Display *PortableX11Display(HWND window);

struct PortableGlSurface {
    int format = 0; // 0: the window has no pixel format
    GLXFBConfig config = nullptr;
    Display *display = nullptr;
    GLXWindow drawable = 0;
};

// Gives the window the configuration's visual under format number `format`.
// False when the window already has a format or X refuses; the window is
// then unchanged.
bool PortableAttachSurface(HWND window, int format, GLXFBConfig config);

// The window's surface; format 0 when it has none.
PortableGlSurface PortableSurfaceOf(HWND window);

// The window is going: its child window goes first.
void PortableDetachSurface(HWND window);

// Collects the X errors of the requests made while it lives instead of
// letting Xlib's default handler end the process. One at a time.
class PortableXErrorTrap {
public:
    explicit PortableXErrorTrap(Display *display);
    ~PortableXErrorTrap();
    PortableXErrorTrap(const PortableXErrorTrap &) = delete;
    PortableXErrorTrap &operator=(const PortableXErrorTrap &) = delete;
    // Waits for the server's answers; true when any request failed so far.
    bool Failed();

private:
    std::lock_guard<std::mutex> hold_;
    Display *display_;
    int (*previous_)(Display *, XErrorEvent *);
};

#endif
