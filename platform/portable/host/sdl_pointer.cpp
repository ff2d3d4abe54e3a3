#include "host/sdl_pointer.h"

#include <SDL.h>

#include "host/sdl_video.h"

void HostCapturePointer(bool on)
{
    HostSdlHold hold(HostSdlLock());
    SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

bool HostPointerPosition(int *x, int *y)
{
    if (!HostEnsureVideo())
        return false;
    HostSdlHold hold(HostSdlLock());
    SDL_GetGlobalMouseState(x, y);
    return true;
}
