#include "host/sdl_display_modes.h"

#include <mutex>

#include "host/sdl_video.h"

namespace {

struct ModeState {
    std::mutex lock;
    std::optional<SDL_DisplayMode> fullscreen;
};

ModeState &Modes()
{
    static auto *state = new ModeState;
    return *state;
}

bool FindMode(std::optional<int> width, std::optional<int> height, SDL_DisplayMode *found)
{
    HostSdlHold hold(HostSdlLock());
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return false;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        if (SDL_GetDisplayMode(0, i, found) == 0 && found->w == width.value_or(desktop.w) &&
            found->h == height.value_or(desktop.h))
            return true;
    }
    return false;
}

} // namespace

bool HostFindDisplayMode(std::optional<int> width, std::optional<int> height, bool keep)
{
    SDL_DisplayMode found;
    if (!FindMode(width, height, &found))
        return false;
    if (keep) {
        std::lock_guard<std::mutex> hold(Modes().lock);
        Modes().fullscreen = found;
    }
    return true;
}

std::optional<SDL_DisplayMode> HostFullscreenMode()
{
    std::lock_guard<std::mutex> hold(Modes().lock);
    return Modes().fullscreen;
}

void HostForgetFullscreenMode()
{
    std::lock_guard<std::mutex> hold(Modes().lock);
    Modes().fullscreen.reset();
}

bool HostScreenSize(int *width, int *height)
{
    HostSdlHold hold(HostSdlLock());
    SDL_DisplayMode mode;
    if (!HostEnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return false;
    *width = mode.w;
    *height = mode.h;
    return true;
}
