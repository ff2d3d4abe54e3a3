#include "host/sdl_windows.h"

#include <SDL.h>

#include <vector>

#include "handle_map.h"
#include "host/sdl_display_modes.h"
#include "host/sdl_video.h"
#include "host/x11_display_watch.h"

namespace {

struct SdlWindow {
    SDL_Window *sdl = nullptr;
    uint32_t id = 0;
};

using SdlWindows = PortableHandleMap<HWND, SdlWindow>;

SdlWindows &Windows()
{
    static auto *windows = new SdlWindows;
    return *windows;
}

// SDL lock held.
SDL_Window *Find(HWND handle)
{
    SDL_Window *sdl = nullptr;
    Windows().Visit(handle, [&](const SdlWindow &window) { sdl = window.sdl; });
    return sdl;
}

void Call(HWND handle, void (*call)(SDL_Window *))
{
    HostSdlHold hold(HostSdlLock());
    if (SDL_Window *sdl = Find(handle))
        call(sdl);
}

} // namespace

bool HostOpenWindow(HWND handle, const HostWindowShape &shape)
{
    HostSdlHold hold(HostSdlLock());
    Uint32 flags = SDL_WINDOW_HIDDEN; // GL draws to a child window of its own visual
    if (shape.borderless)
        flags |= SDL_WINDOW_BORDERLESS;
    if (shape.resizable)
        flags |= SDL_WINDOW_RESIZABLE;
    const std::optional<SDL_DisplayMode> mode = HostFullscreenMode();
    const bool fullscreen = shape.popup && mode;
    if (fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    SDL_Window *sdl = SDL_CreateWindow(shape.title, shape.x, shape.y, shape.width, shape.height, flags);
    if (!sdl) // a display without GLX (8-bit Xvfb) still has windows; GL then fails on them
        sdl = SDL_CreateWindow(shape.title, shape.x, shape.y, shape.width, shape.height, flags & ~SDL_WINDOW_OPENGL);
    if (!sdl)
        return false;
    if (fullscreen)
        SDL_SetWindowDisplayMode(sdl, &*mode);
    if (!Windows().Insert(handle, {sdl, SDL_GetWindowID(sdl)})) {
        SDL_DestroyWindow(sdl);
        return false;
    }
    HostWatchDisplayOf(sdl);
    return true;
}

void HostCloseWindow(HWND handle)
{
    HostSdlHold hold(HostSdlLock());
    SdlWindow gone;
    if (Windows().Release(handle, &gone))
        SDL_DestroyWindow(gone.sdl);
}

void HostShowWindow(HWND handle) { Call(handle, SDL_ShowWindow); }
void HostHideWindow(HWND handle) { Call(handle, SDL_HideWindow); }
void HostMinimizeWindow(HWND handle) { Call(handle, SDL_MinimizeWindow); }
void HostMaximizeWindow(HWND handle) { Call(handle, SDL_MaximizeWindow); }
void HostRestoreWindow(HWND handle) { Call(handle, SDL_RestoreWindow); }

bool HostRaiseWindow(HWND handle)
{
    return HostWithSdlWindow(handle, SDL_RaiseWindow);
}

void HostFocusWindow(HWND handle)
{
    Call(handle, [](SDL_Window *sdl) { SDL_SetWindowInputFocus(sdl); });
}

bool HostIsMaximized(HWND handle)
{
    HostSdlHold hold(HostSdlLock());
    SDL_Window *sdl = Find(handle);
    return sdl && (SDL_GetWindowFlags(sdl) & SDL_WINDOW_MAXIMIZED) != 0;
}

bool HostClientCorner(HWND handle, int *x, int *y)
{
    return HostWithSdlWindow(handle, [&](SDL_Window *sdl) { SDL_GetWindowPosition(sdl, x, y); });
}

bool HostWithSdlWindow(HWND handle, const std::function<void(SDL_Window *)> &use)
{
    HostSdlHold hold(HostSdlLock());
    SDL_Window *sdl = Find(handle);
    if (sdl)
        use(sdl);
    return sdl != nullptr;
}

SDL_Window *HostSdlWindow(HWND handle)
{
    HostSdlHold hold(HostSdlLock());
    return Find(handle);
}

HWND HostWindowOfSdl(uint32_t sdlId)
{
    HWND found = nullptr;
    Windows().VisitAll([&](HWND handle, const SdlWindow &window) {
        if (sdlId != 0 && window.id == sdlId)
            found = handle;
    });
    return found;
}

void HostLeaveFullscreen()
{
    HostForgetFullscreenMode();
    HostSdlHold hold(HostSdlLock()); // no window goes meanwhile
    std::vector<SDL_Window *> fullscreen;
    Windows().VisitAll([&](HWND, const SdlWindow &window) {
        if (SDL_GetWindowFlags(window.sdl) & SDL_WINDOW_FULLSCREEN)
            fullscreen.push_back(window.sdl);
    });
    for (SDL_Window *sdl : fullscreen)
        SDL_SetWindowFullscreen(sdl, 0);
}
