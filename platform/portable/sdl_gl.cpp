// Device contexts, pixel formats and OpenGL contexts over SDL2. Every window
// has one device context, as with CS_OWNDC, and its pixel format can be set
// once. Handles are registered numbers, so a stale one fails cleanly.
#include "portable.h"
#include "portable_internal.h"

// After the platform header: ours defines APIENTRY unconditionally.
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <string.h>
#include <unordered_map>

namespace {

constexpr uintptr_t kFirstDeviceContext = 0x200000;
constexpr uintptr_t kFirstRenderingContext = 0x300000;
constexpr int kOnlyFormat = 1;

struct DeviceContext {
    HWND window = nullptr;
    bool formatSet = false;
    PIXELFORMATDESCRIPTOR obtained{};
};

struct RenderingContext {
    SDL_GLContext sdl = nullptr;
    DWORD currentOn = 0; // thread id, 0 when current nowhere
    HWND currentWindow = nullptr;
};

struct GLRegistry {
    std::mutex lock;
    std::unordered_map<HDC, DeviceContext> deviceContexts;
    std::unordered_map<HGLRC, RenderingContext> renderingContexts;
    uintptr_t nextDeviceContext = kFirstDeviceContext;
    uintptr_t nextRenderingContext = kFirstRenderingContext;
};

GLRegistry &Registry()
{
    static auto *registry = new GLRegistry; // outlives windows destroyed at exit
    return *registry;
}

thread_local HGLRC currentContext = nullptr;

// Lock held.
DeviceContext *FindDeviceContext(HDC dc)
{
    auto found = Registry().deviceContexts.find(dc);
    return found == Registry().deviceContexts.end() ? nullptr : &found->second;
}

// The window behind a device context with a pixel format, or null.
HWND FormattedWindow(HDC dc)
{
    std::lock_guard<std::mutex> hold(Registry().lock);
    const DeviceContext *found = FindDeviceContext(dc);
    return found && found->formatSet ? found->window : nullptr;
}

PIXELFORMATDESCRIPTOR DescriptorFor(int red, int green, int blue, int alpha, int depth, int stencil,
                                    bool doubleBuffered)
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (doubleBuffered ? PFD_DOUBLEBUFFER : 0);
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(red + green + blue);
    format.cRedBits = static_cast<BYTE>(red);
    format.cRedShift = static_cast<BYTE>(green + blue);
    format.cGreenBits = static_cast<BYTE>(green);
    format.cGreenShift = static_cast<BYTE>(blue);
    format.cBlueBits = static_cast<BYTE>(blue);
    format.cAlphaBits = static_cast<BYTE>(alpha);
    format.cAlphaShift = static_cast<BYTE>(alpha ? red + green + blue : 0);
    format.cDepthBits = static_cast<BYTE>(depth);
    format.cStencilBits = static_cast<BYTE>(stencil);
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

// What format 1 offers before it is set on a device context.
PIXELFORMATDESCRIPTOR NominalFormat()
{
    return DescriptorFor(8, 8, 8, 0, 24, 8, true);
}

void RequestAttributes(const PIXELFORMATDESCRIPTOR &format)
{
    const bool deep = format.cColorBits > 16;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, deep ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, deep ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, deep ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.cAlphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.cDepthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.cStencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (format.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
}

// SDL makes a new context current; WGL callers expect theirs to stay.
class CurrentContextKeeper {
public:
    CurrentContextKeeper() : window_(SDL_GL_GetCurrentWindow()), context_(SDL_GL_GetCurrentContext()) {}
    ~CurrentContextKeeper() { SDL_GL_MakeCurrent(window_, context_); }
    CurrentContextKeeper(const CurrentContextKeeper &) = delete;
    CurrentContextKeeper &operator=(const CurrentContextKeeper &) = delete;

private:
    SDL_Window *window_;
    SDL_GLContext context_;
};

// Reads the sizes the visual really has through a throwaway context, so a
// caller can ask DescribePixelFormat before it makes a context of its own.
bool MeasureFormat(SDL_Window *window, PIXELFORMATDESCRIPTOR *obtained)
{
    CurrentContextKeeper keeper;
    SDL_GLContext probe = SDL_GL_CreateContext(window);
    if (!probe)
        return false;
    GLint red = 0, green = 0, blue = 0, alpha = 0, depth = 0, stencil = 0;
    GLboolean doubleBuffered = GL_FALSE;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    SDL_GL_DeleteContext(probe);
    *obtained = DescriptorFor(red, green, blue, alpha, depth, stencil, doubleBuffered == GL_TRUE);
    return true;
}

// Records which context the calling thread has current; lock not held.
void NoteCurrent(HGLRC context, HWND window, DWORD self)
{
    GLRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    if (currentContext && currentContext != context) {
        auto previous = registry.renderingContexts.find(currentContext);
        if (previous != registry.renderingContexts.end())
            previous->second = {previous->second.sdl, 0, nullptr};
    }
    if (context) {
        RenderingContext &made = registry.renderingContexts[context];
        made.currentOn = self;
        made.currentWindow = window;
    }
    currentContext = context;
}

HDC WINAPI PortableGetDC(HWND window)
{
    if (!window || !PortableSdlWindow(window))
        return nullptr;
    GLRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    for (const auto &entry : registry.deviceContexts) {
        if (entry.second.window == window)
            return entry.first;
    }
    const HDC dc = reinterpret_cast<HDC>(registry.nextDeviceContext);
    registry.nextDeviceContext += 4;
    registry.deviceContexts[dc].window = window;
    return dc;
}

int WINAPI PortableReleaseDC(HWND window, HDC dc)
{
    std::lock_guard<std::mutex> hold(Registry().lock);
    const DeviceContext *found = FindDeviceContext(dc);
    return found && found->window == window ? 1 : 0;
}

int WINAPI PortableChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR *requested)
{
    {
        std::lock_guard<std::mutex> hold(Registry().lock);
        if (!FindDeviceContext(dc))
            return 0;
    }
    if (!requested || !(requested->dwFlags & PFD_SUPPORT_OPENGL))
        return 0;
    const bool knownType = requested->iPixelType == PFD_TYPE_RGBA || requested->iPixelType == PFD_TYPE_COLORINDEX;
    return knownType ? kOnlyFormat : 0;
}

BOOL WINAPI PortableSetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR *requested)
{
    if (format != kOnlyFormat || !requested)
        return FALSE;
    HWND window;
    {
        std::lock_guard<std::mutex> hold(Registry().lock);
        const DeviceContext *found = FindDeviceContext(dc);
        if (!found || found->formatSet)
            return FALSE;
        window = found->window;
    }
    RequestAttributes(*requested);
    if (!PortableRecreateSdlWindow(window))
        return FALSE;
    SDL_Window *sdl = PortableSdlWindow(window);
    PIXELFORMATDESCRIPTOR obtained;
    if (!sdl || !MeasureFormat(sdl, &obtained))
        return FALSE;
    std::lock_guard<std::mutex> hold(Registry().lock);
    DeviceContext *found = FindDeviceContext(dc);
    if (!found || found->formatSet)
        return FALSE;
    found->formatSet = true;
    found->obtained = obtained;
    return TRUE;
}

int WINAPI PortableDescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR *described)
{
    std::lock_guard<std::mutex> hold(Registry().lock);
    const DeviceContext *found = FindDeviceContext(dc);
    if (!found)
        return 0;
    if (described) {
        if (format != kOnlyFormat)
            return 0;
        const PIXELFORMATDESCRIPTOR offered = found->formatSet ? found->obtained : NominalFormat();
        memcpy(described, &offered, std::min<size_t>(size, sizeof(offered)));
    }
    return kOnlyFormat; // the number of formats
}

BOOL WINAPI PortableSwapBuffers(HDC dc)
{
    const HWND window = FormattedWindow(dc);
    SDL_Window *sdl = window ? PortableSdlWindow(window) : nullptr;
    // SDL swaps only the window that a context is current with.
    if (!sdl || SDL_GL_GetCurrentWindow() != sdl)
        return FALSE;
    SDL_GL_SwapWindow(sdl);
    return TRUE;
}

HGLRC WINAPI PortableWglCreateContext(HDC dc)
{
    const HWND window = FormattedWindow(dc);
    SDL_Window *sdl = window ? PortableSdlWindow(window) : nullptr;
    if (!sdl)
        return nullptr;
    SDL_GLContext created;
    {
        CurrentContextKeeper keeper;
        created = SDL_GL_CreateContext(sdl);
    }
    if (!created)
        return nullptr;
    GLRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    const HGLRC context = reinterpret_cast<HGLRC>(registry.nextRenderingContext);
    registry.nextRenderingContext += 4;
    registry.renderingContexts[context].sdl = created;
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
    {
        GLRegistry &registry = Registry();
        std::lock_guard<std::mutex> hold(registry.lock);
        const DeviceContext *found = FindDeviceContext(dc);
        auto made = registry.renderingContexts.find(context);
        if (!found || !found->formatSet || made == registry.renderingContexts.end())
            return FALSE;
        // As in WGL, a context is current on one thread at most.
        if (made->second.currentOn != 0 && made->second.currentOn != self)
            return FALSE;
        window = found->window;
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
        GLRegistry &registry = Registry();
        std::lock_guard<std::mutex> hold(registry.lock);
        auto found = registry.renderingContexts.find(context);
        if (found == registry.renderingContexts.end())
            return FALSE;
        if (found->second.currentOn != 0 && found->second.currentOn != self)
            return FALSE;
        sdlContext = found->second.sdl;
        registry.renderingContexts.erase(found);
    }
    if (currentContext == context) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        currentContext = nullptr;
    }
    SDL_GL_DeleteContext(sdlContext);
    return TRUE;
}

} // namespace

void PortableForgetWindowDC(HWND window)
{
    const DWORD self = PortableCurrentThreadId();
    GLRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    for (auto it = registry.deviceContexts.begin(); it != registry.deviceContexts.end();) {
        if (it->second.window == window)
            it = registry.deviceContexts.erase(it);
        else
            ++it;
    }
    // SDL releases a context current with a window it destroys.
    for (auto &entry : registry.renderingContexts) {
        RenderingContext &context = entry.second;
        if (context.currentWindow == window && context.currentOn == self) {
            context.currentOn = 0;
            context.currentWindow = nullptr;
            if (currentContext == entry.first)
                currentContext = nullptr;
        }
    }
}

void PortableFillGL(PlatformTable *t)
{
    t->GetDC = PortableGetDC;
    t->ReleaseDC = PortableReleaseDC;
    t->ChoosePixelFormat = PortableChoosePixelFormat;
    t->SetPixelFormat = PortableSetPixelFormat;
    t->DescribePixelFormat = PortableDescribePixelFormat;
    t->SwapBuffers = PortableSwapBuffers;
    t->wglCreateContext = PortableWglCreateContext;
    t->wglMakeCurrent = PortableWglMakeCurrent;
    t->wglDeleteContext = PortableWglDeleteContext;
}
