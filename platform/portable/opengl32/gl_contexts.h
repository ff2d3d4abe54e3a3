// OpenGL rendering contexts, with WGL's rules.
#ifndef PLATFORM_PORTABLE_GL_CONTEXTS_H
#define PLATFORM_PORTABLE_GL_CONTEXTS_H

#include "platform/platform.h"

// The window is going: contexts the calling thread has current on it are
// released, then its GL surface goes.
void PortableReleaseWindowGL(HWND window);

void PortableFillGLContexts(PlatformTable *t);

#endif
