#include "host/glx_contexts.h"

#include "host/x11_error_trap.h"

GLXContext HostCreateContext(const HostGlSurface &surface)
{
    int renderType = 0;
    glXGetFBConfigAttrib(surface.display, surface.config, GLX_RENDER_TYPE, &renderType);
    HostXErrorTrap trap(surface.display);
    GLXContext created = glXCreateNewContext(surface.display, surface.config,
                                             (renderType & GLX_RGBA_BIT) ? GLX_RGBA_TYPE : GLX_COLOR_INDEX_TYPE,
                                             nullptr, True);
    if (created && trap.Failed()) {
        glXDestroyContext(surface.display, created);
        created = nullptr;
    }
    return created;
}

void HostDestroyContext(Display *display, GLXContext context)
{
    glXDestroyContext(display, context);
}

bool HostMakeCurrent(const HostGlSurface &surface, GLXContext context)
{
    return glXMakeContextCurrent(surface.display, surface.drawable, surface.drawable, context);
}

void HostReleaseCurrent(Display *display)
{
    glXMakeContextCurrent(display, None, None, nullptr);
}

void HostSwapBuffers(const HostGlSurface &surface)
{
    glXSwapBuffers(surface.display, surface.drawable);
}
