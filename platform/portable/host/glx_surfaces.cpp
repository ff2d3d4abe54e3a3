// X child windows as GL drawables. A shown window keeps its identity with the
// window manager this way: remaking the top-level window on the new visual
// would unmap and map it again, which moves focus, sends activation back and
// forth and may place it elsewhere.
#include "host/glx_surfaces.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <mutex>

#include "handle_map.h"
#include "host/sdl_video.h"
#include "host/sdl_windows.h"
#include "host/x11_error_trap.h"

namespace {

struct Surface {
    HostGlSurface gl;
    Window child = 0;
    Colormap colormap = 0; // ours to free; 0 when the screen's default is used
    uint32_t sdlId = 0;
};

using Surfaces = PortableHandleMap<HWND, Surface>;

Surfaces &LiveSurfaces()
{
    static auto *surfaces = new Surfaces;
    return *surfaces;
}

bool X11Target(HWND window, Display **display, Window *xWindow, uint32_t *sdlId)
{
    bool found = false;
    HostWithSdlWindow(window, [&](SDL_Window *sdl) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_X11)
            return;
        *display = info.info.x11.display;
        *xWindow = info.info.x11.window;
        *sdlId = SDL_GetWindowID(sdl);
        found = true;
    });
    return found;
}

// A DirectColor visual shows nothing sensible until its ramps are stored.
void StoreLinearRamps(Display *display, Colormap colormap, const XVisualInfo &visual)
{
    const unsigned long masks[3] = {visual.red_mask, visual.green_mask, visual.blue_mask};
    const char channels[3] = {DoRed, DoGreen, DoBlue};
    for (int i = 0; i < visual.colormap_size; ++i) {
        XColor colour{};
        for (int c = 0; c < 3; ++c) {
            const int shift = masks[c] ? __builtin_ctzl(masks[c]) : 0;
            const unsigned long top = masks[c] >> shift;
            if (static_cast<unsigned long>(i) > top)
                continue;
            colour.pixel |= static_cast<unsigned long>(i) << shift;
            colour.flags |= channels[c];
            const unsigned short level = static_cast<unsigned short>(top ? i * 65535ul / top : 0);
            (c == 0 ? colour.red : c == 1 ? colour.green : colour.blue) = level;
        }
        XStoreColor(display, colormap, &colour);
    }
}

Colormap ColormapFor(Display *display, Window parent, Screen *screen, const XVisualInfo &visual, bool *owned)
{
    if (XVisualIDFromVisual(DefaultVisualOfScreen(screen)) == visual.visualid) {
        *owned = false;
        return DefaultColormapOfScreen(screen);
    }
    *owned = true;
    if (visual.c_class != DirectColor)
        return XCreateColormap(display, parent, visual.visual, AllocNone);
    const Colormap colormap = XCreateColormap(display, parent, visual.visual, AllocAll);
    StoreLinearRamps(display, colormap, visual);
    return colormap;
}

// Trap held. The child covers the client area from its top-left corner.
bool MakeChild(Display *display, Window parent, GLXFBConfig config, Surface *made)
{
    XWindowAttributes parentAttributes;
    if (!XGetWindowAttributes(display, parent, &parentAttributes))
        return false;
    XVisualInfo *visual = glXGetVisualFromFBConfig(display, config);
    if (!visual)
        return false;
    bool ownColormap = false;
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None; // GL covers it; no flash of a cleared background
    attributes.border_pixel = 0;         // required where the depth differs from the parent's
    attributes.colormap = ColormapFor(display, parent, parentAttributes.screen, *visual, &ownColormap);
    attributes.event_mask = NoEventMask; // every event goes on to SDL's window
    made->child = XCreateWindow(display, parent, 0, 0, std::max(1, parentAttributes.width),
                                std::max(1, parentAttributes.height), 0, visual->depth, InputOutput,
                                visual->visual, CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask,
                                &attributes);
    made->colormap = ownColormap ? attributes.colormap : 0;
    XFree(visual);
    // No input region: the pointer is never in the child, only in SDL's
    // window, so crossings and a pointer grab there behave as without it (a
    // grab would otherwise lose the release of a drag that left the window).
    int shapeEvent, shapeError;
    if (XShapeQueryExtension(display, &shapeEvent, &shapeError))
        XShapeCombineRectangles(display, made->child, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    if (ownColormap) {
        Window colormapWindows[2] = {made->child, parent}; // the window manager installs the child's map
        XSetWMColormapWindows(display, parent, colormapWindows, 2);
    }
    XMapWindow(display, made->child);
    made->gl.drawable = glXCreateWindow(display, config, made->child, nullptr);
    return made->gl.drawable != 0;
}

void FreeChild(Display *display, const Surface &surface)
{
    if (surface.gl.drawable)
        glXDestroyWindow(display, surface.gl.drawable);
    if (surface.child)
        XDestroyWindow(display, surface.child);
    if (surface.colormap)
        XFreeColormap(display, surface.colormap);
    XFlush(display);
}

// SDL event watch: the child follows every change of the client area at the
// moment SDL learns of it, before the program hears of it and draws.
int FollowClientSize(void *, SDL_Event *event)
{
    if (event->type != SDL_WINDOWEVENT || event->window.event != SDL_WINDOWEVENT_SIZE_CHANGED)
        return 1;
    LiveSurfaces().VisitAll([&](HWND, const Surface &surface) {
        if (surface.sdlId != event->window.windowID)
            return;
        XResizeWindow(surface.gl.display, surface.child, std::max(1, event->window.data1),
                      std::max(1, event->window.data2));
        XFlush(surface.gl.display);
    });
    return 1;
}

} // namespace

Display *HostX11Display(HWND window)
{
    Display *display = nullptr;
    Window xWindow;
    uint32_t sdlId;
    return X11Target(window, &display, &xWindow, &sdlId) ? display : nullptr;
}

bool HostAttachSurface(HWND window, int format, GLXFBConfig config)
{
    Surface made;
    Window parent;
    if (format <= 0 || !config || !X11Target(window, &made.gl.display, &parent, &made.sdlId))
        return false;
    static std::once_flag watching;
    std::call_once(watching, [] {
        HostSdlHold hold(HostSdlLock());
        SDL_AddEventWatch(FollowClientSize, nullptr);
    });
    made.gl.format = format;
    made.gl.config = config;
    std::lock_guard<std::mutex> hold(LiveSurfaces().Lock());
    if (LiveSurfaces().FindLocked(window)) // once per window, as on Windows
        return false;
    bool failed;
    {
        HostXErrorTrap trap(made.gl.display);
        failed = !MakeChild(made.gl.display, parent, config, &made) || trap.Failed();
        if (failed)
            FreeChild(made.gl.display, made);
    }
    if (!failed && !LiveSurfaces().InsertLocked(window, made)) {
        HostXErrorTrap trap(made.gl.display);
        FreeChild(made.gl.display, made);
        failed = true;
    }
    return !failed;
}

HostGlSurface HostSurfaceOf(HWND window)
{
    HostGlSurface surface;
    LiveSurfaces().Visit(window, [&](const Surface &found) { surface = found.gl; });
    return surface;
}

void HostDetachSurface(HWND window)
{
    std::lock_guard<std::mutex> hold(LiveSurfaces().Lock());
    if (const Surface *found = LiveSurfaces().FindLocked(window)) {
        FreeChild(found->gl.display, *found);
        LiveSurfaces().EraseLocked(window);
    }
}
