#include "user32/display_modes.h"

#include <mutex>
#include <vector>

#include "fill_table.h"
#include "user32/sdl_windows.h"
#include "user32/window_registry.h"

namespace {

constexpr DWORD kChangeDisplayTest = 0x00000002; // CDS_TEST

struct ModeState {
    std::mutex lock;
    std::optional<SDL_DisplayMode> fullscreen;
};

ModeState &Modes()
{
    static auto *state = new ModeState;
    return *state;
}

bool FindDisplayMode(const DEVMODEA &wanted, SDL_DisplayMode *found)
{
    PortableSdlHold hold(PortableSdlLock());
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return false;
    const int width = (wanted.dmFields & DM_PELSWIDTH) ? static_cast<int>(wanted.dmPelsWidth) : desktop.w;
    const int height = (wanted.dmFields & DM_PELSHEIGHT) ? static_cast<int>(wanted.dmPelsHeight) : desktop.h;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            *found = mode;
            return true;
        }
    }
    return false;
}

void LeaveFullscreen()
{
    {
        std::lock_guard<std::mutex> hold(Modes().lock);
        Modes().fullscreen.reset();
    }
    PortableSdlHold hold(PortableSdlLock()); // no window goes meanwhile
    std::vector<SDL_Window *> fullscreen;
    PortableVisitWindows([&](PortableWindow &window) {
        if (SDL_GetWindowFlags(window.sdl) & SDL_WINDOW_FULLSCREEN)
            fullscreen.push_back(window.sdl);
    });
    for (SDL_Window *sdl : fullscreen)
        SDL_SetWindowFullscreen(sdl, 0);
}

LONG WINAPI PortableChangeDisplaySettingsA(DEVMODEA *mode, DWORD flags)
{
    if (!mode) {
        LeaveFullscreen();
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!PortableEnsureVideo())
        return DISP_CHANGE_FAILED;
    SDL_DisplayMode found;
    if (!FindDisplayMode(*mode, &found))
        return DISP_CHANGE_BADMODE;
    if (!(flags & kChangeDisplayTest)) {
        std::lock_guard<std::mutex> hold(Modes().lock);
        Modes().fullscreen = found;
    }
    return DISP_CHANGE_SUCCESSFUL;
}

} // namespace

std::optional<SDL_DisplayMode> PortableFullscreenMode()
{
    std::lock_guard<std::mutex> hold(Modes().lock);
    return Modes().fullscreen;
}

// As GetSystemMetrics, before any window too.
bool PortableScreenSize(int *width, int *height)
{
    PortableSdlHold hold(PortableSdlLock());
    SDL_DisplayMode mode;
    if (!PortableEnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return false;
    *width = mode.w;
    *height = mode.h;
    return true;
}

void PortableFillDisplayModes(PlatformTable *t)
{
    t->ChangeDisplaySettingsA = PortableChangeDisplaySettingsA;
}
