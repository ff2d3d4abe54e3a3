// GLX rendering contexts on a window's GL surface.
#ifndef PLATFORM_PORTABLE_HOST_GLX_CONTEXTS_H
#define PLATFORM_PORTABLE_HOST_GLX_CONTEXTS_H

#include "host/glx_surfaces.h"

// A context on the surface's configuration, RGBA or colour index as the
// configuration renders; null when GLX or X refuses.
GLXContext HostCreateContext(const HostGlSurface &surface);
void HostDestroyContext(Display *display, GLXContext context);

// Makes the context current on the calling thread, drawing to the surface.
bool HostMakeCurrent(const HostGlSurface &surface, GLXContext context);
// Leaves the calling thread without a current context.
void HostReleaseCurrent(Display *display);

void HostSwapBuffers(const HostGlSurface &surface);

#endif
