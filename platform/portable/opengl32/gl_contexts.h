// OpenGL contexts over SDL2, with WGL's rules.
#ifndef PLATFORM_PORTABLE_GL_CONTEXTS_H
#define PLATFORM_PORTABLE_GL_CONTEXTS_H

#include <SDL.h>

#include "platform/platform.h"

// SDL makes a new context current; WGL callers expect theirs to stay.
class PortableCurrentContextKeeper {
public:
    PortableCurrentContextKeeper() : window_(SDL_GL_GetCurrentWindow()), context_(SDL_GL_GetCurrentContext()) {}
    ~PortableCurrentContextKeeper() { SDL_GL_MakeCurrent(window_, context_); }
    PortableCurrentContextKeeper(const PortableCurrentContextKeeper &) = delete;
    PortableCurrentContextKeeper &operator=(const PortableCurrentContextKeeper &) = delete;

private:
    SDL_Window *window_;
    SDL_GLContext context_;
};

// The window is going: SDL releases a context current with it.
void PortableForgetWindowContexts(HWND window);

#endif
