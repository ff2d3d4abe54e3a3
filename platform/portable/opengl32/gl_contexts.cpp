// OpenGL contexts and the buffer swap, on the host's configuration of the
// window's pixel format. As in WGL a context is current on one thread at
// most, is made current only on windows of its own pixel format, and the
// swap needs it current on the window.
#include "opengl32/gl_contexts.h"

#include "gdi32/gdi_objects.h"
#include "handle_map.h"
#include "host/glx_contexts.h"
#include "kernel32/threads.h"

namespace {

struct RenderingContext {
    GLXContext glx = nullptr;
    Display *display = nullptr;
    int format = 0;
    DWORD currentOn = 0; // thread id, 0 when current nowhere
    HWND currentWindow = nullptr;
};

using RenderingContexts = PortableHandleMap<HGLRC, RenderingContext>;

RenderingContexts &Contexts()
{
    static auto *contexts = new RenderingContexts;
    return *contexts;
}

thread_local HGLRC currentContext = nullptr;

// Lock held. The calling thread's context, if any, is current nowhere now.
void ForgetCurrent()
{
    if (RenderingContext *previous = Contexts().FindLocked(currentContext)) {
        previous->currentOn = 0;
        previous->currentWindow = nullptr;
    }
    currentContext = nullptr;
}

// Leaves the calling thread without a current context.
void ReleaseCurrent()
{
    std::lock_guard<std::mutex> hold(Contexts().Lock());
    if (const RenderingContext *current = Contexts().FindLocked(currentContext))
        HostReleaseCurrent(current->display);
    ForgetCurrent();
}

BOOL WINAPI PortableSwapBuffers(HDC dc)
{
    const HWND window = PortableWindowOfDC(dc);
    const HostGlSurface surface = HostSurfaceOf(window);
    if (surface.format == 0)
        return FALSE;
    bool currentThere = false;
    Contexts().Visit(currentContext, [&](const RenderingContext &current) { currentThere = current.currentWindow == window; });
    if (!currentThere)
        return FALSE;
    HostSwapBuffers(surface);
    return TRUE;
}

HGLRC WINAPI PortableWglCreateContext(HDC dc)
{
    const HostGlSurface surface = HostSurfaceOf(PortableWindowOfDC(dc));
    if (surface.format == 0)
        return nullptr;
    const GLXContext created = HostCreateContext(surface);
    if (!created)
        return nullptr;
    const HGLRC context = Contexts().Add({created, surface.display, surface.format, 0, nullptr});
    if (!context)
        HostDestroyContext(surface.display, created);
    return context;
}

// Claims the context for the calling thread before GLX sees it, so that two
// threads never race to make one context current.
bool Claim(HGLRC context, const HostGlSurface &surface, DWORD self, GLXContext *glx)
{
    bool claimed = false;
    Contexts().Visit(context, [&](RenderingContext &made) {
        if (made.format != surface.format || (made.currentOn != 0 && made.currentOn != self))
            return;
        made.currentOn = self;
        *glx = made.glx;
        claimed = true;
    });
    return claimed;
}

BOOL WINAPI PortableWglMakeCurrent(HDC dc, HGLRC context)
{
    if (!context) {
        ReleaseCurrent();
        return TRUE;
    }
    const DWORD self = PortableCurrentThreadId();
    const HWND window = PortableWindowOfDC(dc);
    const HostGlSurface surface = HostSurfaceOf(window);
    GLXContext glx;
    if (surface.format == 0 || !Claim(context, surface, self, &glx))
        return FALSE;
    const bool made = HostMakeCurrent(surface, glx);
    std::lock_guard<std::mutex> hold(Contexts().Lock());
    RenderingContext &claimed = *Contexts().FindLocked(context); // claimed: no other thread deletes it
    if (!made) {
        if (currentContext != context)
            claimed.currentOn = 0;
        return FALSE;
    }
    if (currentContext != context)
        ForgetCurrent();
    claimed.currentWindow = window;
    currentContext = context;
    return TRUE;
}

// The check and the removal are one step: once a context passed the check no
// other thread can claim it, nor delete it a second time.
BOOL WINAPI PortableWglDeleteContext(HGLRC context)
{
    const DWORD self = PortableCurrentThreadId();
    RenderingContext gone;
    {
        std::lock_guard<std::mutex> hold(Contexts().Lock());
        const RenderingContext *found = Contexts().FindLocked(context);
        if (!found || (found->currentOn != 0 && found->currentOn != self))
            return FALSE;
        gone = *found;
        Contexts().EraseLocked(context);
    }
    if (currentContext == context) {
        HostReleaseCurrent(gone.display);
        currentContext = nullptr;
    }
    HostDestroyContext(gone.display, gone.glx);
    return TRUE;
}

} // namespace

void PortableReleaseWindowGL(HWND window)
{
    bool currentHere = false;
    Contexts().Visit(currentContext, [&](const RenderingContext &current) { currentHere = current.currentWindow == window; });
    if (currentHere)
        ReleaseCurrent();
    HostDetachSurface(window);
}

void PortableFillGLContexts(PlatformTable *t)
{
    t->SwapBuffers = PortableSwapBuffers;
    t->wglCreateContext = PortableWglCreateContext;
    t->wglMakeCurrent = PortableWglMakeCurrent;
    t->wglDeleteContext = PortableWglDeleteContext;
}
