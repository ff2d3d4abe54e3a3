// OpenGL contexts and the buffer swap over SDL2. A context is current on one
// thread at most, and swapping needs it current on the window, as in WGL.
#include "opengl32/gl_contexts.h"

#include <mutex>
#include <unordered_map>

#include "fill_table.h"
#include "handle_numbers.h"
#include "gdi32/pixel_formats.h"
#include "kernel32/threads.h"
#include "user32/window_registry.h"

namespace {

struct RenderingContext {
    SDL_GLContext sdl = nullptr;
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

// Records which context the calling thread has current; lock not held.
void NoteCurrent(HGLRC context, HWND window, DWORD self)
{
    std::lock_guard<std::mutex> hold(Contexts().lock);
    if (currentContext && currentContext != context) {
        auto previous = Contexts().live.find(currentContext);
        if (previous != Contexts().live.end())
            previous->second = {previous->second.sdl, 0, nullptr};
    }
    if (context) {
        RenderingContext &made = Contexts().live[context];
        made.currentOn = self;
        made.currentWindow = window;
    }
    currentContext = context;
}

BOOL WINAPI PortableSwapBuffers(HDC dc)
{
    const HWND window = PortableFormattedWindow(dc);
    SDL_Window *sdl = window ? PortableSdlWindow(window) : nullptr;
    // SDL swaps only the window that a context is current with.
    if (!sdl || SDL_GL_GetCurrentWindow() != sdl)
        return FALSE;
    SDL_GL_SwapWindow(sdl);
    return TRUE;
}

HGLRC WINAPI PortableWglCreateContext(HDC dc)
{
    const HWND window = PortableFormattedWindow(dc);
    SDL_Window *sdl = window ? PortableSdlWindow(window) : nullptr;
    if (!sdl)
        return nullptr;
    SDL_GLContext created;
    {
        PortableCurrentContextKeeper keeper;
        created = SDL_GL_CreateContext(sdl);
    }
    if (!created)
        return nullptr;
    std::lock_guard<std::mutex> hold(Contexts().lock);
    const HGLRC context = PortableNewHandle<HGLRC>();
    Contexts().live[context].sdl = created;
    return context;
}

BOOL WINAPI PortableWglMakeCurrent(HDC dc, HGLRC context)
{
    const DWORD self = PortableCurrentThreadId();
    if (!context) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        NoteCurrent(nullptr, nullptr, self);
        return TRUE;
    }
    HWND window;
    SDL_GLContext sdlContext;
    window = PortableFormattedWindow(dc);
    {
        std::lock_guard<std::mutex> hold(Contexts().lock);
        auto made = Contexts().live.find(context);
        if (!window || made == Contexts().live.end())
            return FALSE;
        // As in WGL, a context is current on one thread at most.
        if (made->second.currentOn != 0 && made->second.currentOn != self)
            return FALSE;
        sdlContext = made->second.sdl;
    }
    SDL_Window *sdl = PortableSdlWindow(window);
    if (!sdl || SDL_GL_MakeCurrent(sdl, sdlContext) != 0)
        return FALSE;
    NoteCurrent(context, window, self);
    return TRUE;
}

BOOL WINAPI PortableWglDeleteContext(HGLRC context)
{
    const DWORD self = PortableCurrentThreadId();
    SDL_GLContext sdlContext;
    {
        std::lock_guard<std::mutex> hold(Contexts().lock);
        auto found = Contexts().live.find(context);
        if (found == Contexts().live.end())
            return FALSE;
        if (found->second.currentOn != 0 && found->second.currentOn != self)
            return FALSE;
        sdlContext = found->second.sdl;
        Contexts().live.erase(found);
    }
    if (currentContext == context) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        currentContext = nullptr;
    }
    SDL_GL_DeleteContext(sdlContext);
    return TRUE;
}

} // namespace

void PortableForgetWindowContexts(HWND window)
{
    const DWORD self = PortableCurrentThreadId();
    std::lock_guard<std::mutex> hold(Contexts().lock);
    for (auto &entry : Contexts().live) {
        RenderingContext &context = entry.second;
        if (context.currentWindow == window && context.currentOn == self) {
            context.currentOn = 0;
            context.currentWindow = nullptr;
            if (currentContext == entry.first)
                currentContext = nullptr;
        }
    }
}

void PortableFillGLContexts(PlatformTable *t)
{
    t->SwapBuffers = PortableSwapBuffers;
    t->wglCreateContext = PortableWglCreateContext;
    t->wglMakeCurrent = PortableWglMakeCurrent;
    t->wglDeleteContext = PortableWglDeleteContext;
}
