// OpenGL contexts and the buffer swap over GLX, on the configuration of the
// window's pixel format. As in WGL a context is current on one thread at
// most, is made current only on windows of its own pixel format, and the
// swap needs it current on the window.
#include "opengl32/gl_contexts.h"

#include <mutex>
#include <unordered_map>

#include "fill_table.h"
#include "handle_numbers.h"
#include "gdi32/pixel_formats.h"
#include "kernel32/threads.h"
#include "opengl32/glx_surfaces.h"

namespace {

struct RenderingContext {
    GLXContext glx = nullptr;
    Display *display = nullptr;
    int format = 0;
    DWORD currentOn = 0; // thread id, 0 when current nowhere
    HWND currentWindow = nullptr;
};

struct RenderingContexts {
    std::mutex lock;
    std::unordered_map<HGLRC, RenderingContext> live;
};

RenderingContexts &Contexts()
{
    static auto *contexts = new RenderingContexts; // outlives windows destroyed at exit
    return *contexts;
}

thread_local HGLRC currentContext = nullptr;

// Lock held. The calling thread's context, if any, is current nowhere now.
void ForgetCurrent()
{
    auto previous = Contexts().live.find(currentContext);
    if (previous != Contexts().live.end()) {
        previous->second.currentOn = 0;
        previous->second.currentWindow = nullptr;
    }
    currentContext = nullptr;
}

// Leaves the calling thread without a current context.
void ReleaseCurrent()
{
    std::lock_guard<std::mutex> hold(Contexts().lock);
    auto current = Contexts().live.find(currentContext);
    if (current != Contexts().live.end())
        glXMakeContextCurrent(current->second.display, None, None, nullptr);
    ForgetCurrent();
}

BOOL WINAPI PortableSwapBuffers(HDC dc)
{
    const HWND window = PortableWindowOfDC(dc);
    const PortableGlSurface surface = PortableSurfaceOf(window);
    if (surface.format == 0)
        return FALSE;
    {
        std::lock_guard<std::mutex> hold(Contexts().lock);
        auto current = Contexts().live.find(currentContext);
        if (current == Contexts().live.end() || current->second.currentWindow != window)
            return FALSE;
    }
    glXSwapBuffers(surface.display, surface.drawable);
    return TRUE;
}

HGLRC WINAPI PortableWglCreateContext(HDC dc)
{
    const PortableGlSurface surface = PortableSurfaceOf(PortableWindowOfDC(dc));
    if (surface.format == 0)
        return nullptr;
    int renderType = 0;
    glXGetFBConfigAttrib(surface.display, surface.config, GLX_RENDER_TYPE, &renderType);
    GLXContext created;
    {
        PortableXErrorTrap trap(surface.display);
        created = glXCreateNewContext(surface.display, surface.config,
                                      (renderType & GLX_RGBA_BIT) ? GLX_RGBA_TYPE : GLX_COLOR_INDEX_TYPE, nullptr,
                                      True);
        if (created && trap.Failed()) {
            glXDestroyContext(surface.display, created);
            created = nullptr;
        }
    }
    if (!created)
        return nullptr;
    std::lock_guard<std::mutex> hold(Contexts().lock);
    const HGLRC context = PortableNewHandle<HGLRC>();
    Contexts().live[context] = {created, surface.display, surface.format, 0, nullptr};
    return context;
}

// Claims the context for the calling thread before GLX sees it, so that two
// threads never race to make one context current.
bool Claim(HGLRC context, const PortableGlSurface &surface, DWORD self, GLXContext *glx)
{
    std::lock_guard<std::mutex> hold(Contexts().lock);
    auto made = Contexts().live.find(context);
    if (made == Contexts().live.end() || made->second.format != surface.format)
        return false;
    if (made->second.currentOn != 0 && made->second.currentOn != self)
        return false;
    made->second.currentOn = self;
    *glx = made->second.glx;
    return true;
}

BOOL WINAPI PortableWglMakeCurrent(HDC dc, HGLRC context)
{
    if (!context) {
        ReleaseCurrent();
        return TRUE;
    }
    const DWORD self = PortableCurrentThreadId();
    const HWND window = PortableWindowOfDC(dc);
    const PortableGlSurface surface = PortableSurfaceOf(window);
    GLXContext glx;
    if (surface.format == 0 || !Claim(context, surface, self, &glx))
        return FALSE;
    const bool made = glXMakeContextCurrent(surface.display, surface.drawable, surface.drawable, glx);
    std::lock_guard<std::mutex> hold(Contexts().lock);
    RenderingContext &claimed = Contexts().live.at(context); // claimed: no other thread deletes it
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
        std::lock_guard<std::mutex> hold(Contexts().lock);
        auto found = Contexts().live.find(context);
        if (found == Contexts().live.end())
            return FALSE;
        if (found->second.currentOn != 0 && found->second.currentOn != self)
            return FALSE;
        gone = found->second;
        Contexts().live.erase(found);
    }
    if (currentContext == context) {
        glXMakeContextCurrent(gone.display, None, None, nullptr);
        currentContext = nullptr;
    }
    glXDestroyContext(gone.display, gone.glx);
    return TRUE;
}

} // namespace

void PortableReleaseWindowGL(HWND window)
{
    bool currentHere;
    {
        std::lock_guard<std::mutex> hold(Contexts().lock);
        auto current = Contexts().live.find(currentContext);
        currentHere = current != Contexts().live.end() && current->second.currentWindow == window;
    }
    if (currentHere)
        ReleaseCurrent();
    PortableDetachSurface(window);
}

void PortableFillGLContexts(PlatformTable *t)
{
    t->SwapBuffers = PortableSwapBuffers;
    t->wglCreateContext = PortableWglCreateContext;
    t->wglMakeCurrent = PortableWglMakeCurrent;
    t->wglDeleteContext = PortableWglDeleteContext;
}
