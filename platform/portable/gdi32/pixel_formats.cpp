// Pixel formats over SDL2: one format, whose sizes are those the window's
// visual really has once it is set. The format is set once per window.
#include "gdi32/pixel_formats.h"

// After the platform header: ours defines APIENTRY unconditionally.
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <string.h>

#include "fill_table.h"
#include "gdi32/gdi_objects.h"
#include "opengl32/gl_contexts.h"
#include "user32/sdl_windows.h"
#include "user32/window_registry.h"

namespace {

constexpr int kOnlyFormat = 1;

// Lock held.
PortableDeviceContext *WindowContext(HDC dc)
{
    return static_cast<PortableDeviceContext *>(PortableFindGdiObject(dc, PortableGdiKind::WindowDC));
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

// Reads the sizes the visual really has through a throwaway context, so a
// caller can ask DescribePixelFormat before it makes a context of its own.
bool MeasureFormat(SDL_Window *window, PIXELFORMATDESCRIPTOR *obtained)
{
    PortableCurrentContextKeeper keeper;
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

int WINAPI PortableChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR *requested)
{
    {
        std::lock_guard<std::mutex> hold(PortableGdiLock());
        if (!WindowContext(dc))
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
        std::lock_guard<std::mutex> hold(PortableGdiLock());
        const PortableDeviceContext *found = WindowContext(dc);
        if (!found || found->pixelFormat != 0)
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
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    PortableDeviceContext *found = WindowContext(dc);
    if (!found || found->pixelFormat != 0)
        return FALSE;
    found->pixelFormat = format;
    found->format = obtained;
    return TRUE;
}

int WINAPI PortableDescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR *described)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const PortableDeviceContext *found = WindowContext(dc);
    if (!found)
        return 0;
    if (described) {
        if (format != kOnlyFormat)
            return 0;
        const PIXELFORMATDESCRIPTOR offered = found->pixelFormat != 0 ? found->format : NominalFormat();
        memcpy(described, &offered, std::min<size_t>(size, sizeof(offered)));
    }
    return kOnlyFormat; // the number of formats
}

} // namespace

HWND PortableFormattedWindow(HDC dc)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const PortableDeviceContext *found = WindowContext(dc);
    return found && found->pixelFormat != 0 ? found->window : nullptr;
}

void PortableFillPixelFormats(PlatformTable *t)
{
    t->ChoosePixelFormat = PortableChoosePixelFormat;
    t->SetPixelFormat = PortableSetPixelFormat;
    t->DescribePixelFormat = PortableDescribePixelFormat;
}
