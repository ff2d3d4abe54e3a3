#include "host/sdl_video.h"

#include <SDL.h>
#include <errno.h> // program_invocation_short_name

#include <cstdio>
#include <cstdlib>

namespace {

bool cursorShown = true; // SDL lock held

// Said once per process on standard error: every program on this layer, the
// demo and a toolkit program with its boxes off alike, tells why it shows nothing.
void SayNoDisplay()
{
    static bool said = false;
    if (said)
        return;
    said = true;
    const char *display = getenv("DISPLAY");
    if (!display || !*display)
        fprintf(stderr, "%s: no usable display: DISPLAY is not set\n", program_invocation_short_name);
    else
        fprintf(stderr, "%s: no usable display: cannot use \"%s\" (%s)\n", program_invocation_short_name, display,
                SDL_GetError());
}

} // namespace

std::recursive_mutex &HostSdlLock()
{
    static auto *lock = new std::recursive_mutex; // windows of exiting threads still go
    return *lock;
}

bool HostEnsureVideo()
{
    static bool ready = false;
    HostSdlHold hold(HostSdlLock());
    if (ready)
        return true;
    // SDL must not take SIGINT/SIGTERM away from the process, nor keep a
    // Windows program's screen saver off.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The pointer is grabbed only while the program holds the capture.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // A click that activates a window reaches it too, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // GL goes through GLX, so X is the one driver that can serve; without this
    // SDL tries Wayland first and prints its complaint. SDL_VIDEODRIVER overrides.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        SayNoDisplay();
        return false;
    }
    SDL_ShowCursor(cursorShown ? SDL_ENABLE : SDL_DISABLE);
    ready = true;
    return true;
}

void HostShowCursor(bool shown)
{
    HostSdlHold hold(HostSdlLock());
    cursorShown = shown;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}
